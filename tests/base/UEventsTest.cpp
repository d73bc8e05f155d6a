#include "UEvents.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

// An event that finishes after a set number of frames.
struct TCountdown : TEvent {
  explicit TCountdown(uint32_t Frames) : Life(Frames) {}
  bool IsFinished() const override { return Elapsed() >= Life; }
  uint32_t Life;
};

TEST(TimerEventTest, FiresOnTheUpdateThatReachesTheDelay) {
  int calls = 0;
  TObject* sender = nullptr;
  bool finishedInHandler = false;
  TTimerEvent timer(50, [&](TObject* S) {
    ++calls;
    sender = S;
    // Marked fired before the handler runs, so a handler that walks the timer's list sees it as done.
    finishedInHandler = static_cast<TTimerEvent*>(S)->IsFinished();
  });
  for (int i = 0; i < 49; ++i) timer.Update(1);
  EXPECT_EQ(calls, 0);
  EXPECT_FALSE(timer.IsFinished());
  EXPECT_EQ(timer.Elapsed(), 49u);
  timer.Update(1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(sender, &timer);
  EXPECT_TRUE(finishedInHandler);
  EXPECT_TRUE(timer.Fired());
  EXPECT_TRUE(timer.IsFinished());
  for (int i = 0; i < 100; ++i) timer.Update(1);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(timer.IsFinished());
  EXPECT_EQ(timer.Elapsed(), 150u);
}

TEST(TimerEventTest, DelayArithmetic) {
  int calls = 0;
  const auto count = [&](TObject*) { ++calls; };

  TTimerEvent zero(0, count);
  zero.Update(1);
  EXPECT_EQ(calls, 1);

  TTimerEvent overshoot(10, count);  // a big step passes the delay: fires once, at once
  overshoot.Update(7);
  EXPECT_EQ(calls, 1);
  overshoot.Update(7);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(overshoot.Elapsed(), 14u);

  // The comparison is unsigned: the largest delay fires only when Elapsed reaches it.
  TTimerEvent far(std::numeric_limits<uint32_t>::max(), count);
  far.Update(0x80000000u);
  EXPECT_EQ(calls, 2);
  far.Update(0x7FFFFFFEu);
  EXPECT_EQ(calls, 2);
  far.Update(1);
  EXPECT_EQ(calls, 3);

  TTimerEvent noHandler(1, nullptr);
  noHandler.Update(1);
  EXPECT_TRUE(noHandler.IsFinished());
}

TEST(TimerEventTest, HandlerMayFreeItsTimerByClearingTheList) {
  TEventLinkedList timers;
  std::vector<int> fired;
  timers.Add(new TTimerEvent(1, [&](TObject*) {
    fired.push_back(1);
    timers.Clear();
  }));
  timers.Add(new TTimerEvent(1, [&](TObject*) { fired.push_back(2); }));
  timers.UpdateAll(1);
  EXPECT_EQ(fired, (std::vector<int>{1}));
  EXPECT_EQ(timers.Count(), 0);
}

TEST(TimerEventTest, HandlerMayDeleteItsTimerDirectly) {
  TEventLinkedList timers;
  int calls = 0;
  timers.Add(new TTimerEvent(2, [&](TObject* Sender) {
    ++calls;
    static_cast<TLinkedItem*>(static_cast<TTimerEvent*>(Sender))->Delete();
  }));
  timers.Add(new TCountdown(100));
  timers.UpdateAll(1);
  timers.UpdateAll(1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(timers.Count(), 1);
  EXPECT_EQ(timers.First()->Elapsed(), 2u);  // the walk went on to the countdown
}

TEST(EventListTest, UpdateAllAdvancesEveryEventAndRemoveFinishedDropsTheDone) {
  TEventLinkedList events;
  events.Add(new TCountdown(1));
  events.Add(new TCountdown(3));
  events.Add(new TCountdown(2));
  events.UpdateAll(2);
  EXPECT_EQ(events.Count(), 3);  // finished events stay until RemoveFinished
  events.RemoveFinished();
  ASSERT_EQ(events.Count(), 1);
  EXPECT_EQ(static_cast<TCountdown*>(events.First())->Life, 3u);
  EXPECT_EQ(events.First()->Elapsed(), 2u);
  events.UpdateAll(1);
  events.RemoveFinished();
  EXPECT_EQ(events.Count(), 0);
  EXPECT_EQ(events.First(), nullptr);
}

TEST(EventListTest, RemoveFinishedWithEveryItemFinishedEmptiesTheList) {
  TEventLinkedList events;
  for (int i = 0; i < 5; ++i) events.Add(new TTimerEvent(0, nullptr));
  events.UpdateAll(1);
  events.RemoveFinished();
  EXPECT_EQ(events.Count(), 0);
  EXPECT_EQ(events.First(), nullptr);
  EXPECT_EQ(events.Last(), nullptr);
}

TEST(EventListTest, PlainEventsNeverFinish) {
  TEventLinkedList events;
  events.Add(new TEvent);
  events.UpdateAll(1000);
  events.RemoveFinished();
  EXPECT_EQ(events.Count(), 1);
  EXPECT_EQ(events.First()->Elapsed(), 1000u);
}

}  // namespace
