// Frame-counting list items: events that are advanced frame by frame, one-shot timers, and the list that
// advances its events and drops the finished ones.
#pragma once
#include <cstdint>

#include "LinkedList.h"
#include "ObjectPool.h"
#include "TObject.h"

class TEvent : public TLinkedItem {
 public:
  // Events come and go by the thousand in play; their storage is recycled.
  static void* operator new(std::size_t Size) { return ObjectPool::Allocate(Size); }
  static void operator delete(void* Block, std::size_t Size) noexcept { ObjectPool::Release(Block, Size); }

  // Frames this event has been advanced (wraps at 2^32).
  uint32_t Elapsed() const { return FElapsed; }

  // Adds Frames to Elapsed; subclasses call this first, then do their own work.
  virtual void Update(uint32_t Frames);
  // Whether the event is done and its list may drop it.
  virtual bool IsFinished() const;

 protected:
  uint32_t FElapsed = 0;
};

// Runs OnTimer once, on the first update that brings Elapsed to or past Delay (a delay of 0 fires on the
// first update).
class TTimerEvent : public TEvent {
 public:
  TTimerEvent(uint32_t Delay, TNotifyEvent OnTimer);

  bool Fired() const { return FFired; }
  uint32_t Delay() const { return FDelay; }

  // The handler runs last and receives this timer; it may free the timer (for instance by clearing its list).
  void Update(uint32_t Frames) override;
  bool IsFinished() const override;

 private:
  bool FFired = false;
  uint32_t FDelay;
  TNotifyEvent FOnTimer;
};

// A list of TEvent items only.
class TEventLinkedList : public TLinkedList {
 public:
  // Advances every event by Frames, in list order, with ForEach's walk rules.
  void UpdateAll(uint32_t Frames);
  // Deletes every event whose IsFinished is true.
  void RemoveFinished();

  TEvent* First() const { return static_cast<TEvent*>(TLinkedList::First()); }
};
