#include "UEvents.h"

#include <utility>

void TEvent::Update(uint32_t Frames) { Elapsed_ += Frames; }

bool TEvent::IsFinished() const { return false; }

TTimerEvent::TTimerEvent(uint32_t Delay, TNotifyEvent OnTimer) : Delay_(Delay), OnTimer_(std::move(OnTimer)) {}

void TTimerEvent::Update(uint32_t Frames) {
  TEvent::Update(Frames);
  if (Elapsed_ >= Delay_ && !Fired_) {
    Fired_ = true;
    // The handler may free this timer, so it is moved out first and nothing of the timer is touched afterwards.
    TNotifyEvent handler = std::move(OnTimer_);
    if (handler) handler(this);
  }
}

bool TTimerEvent::IsFinished() const { return Fired_; }

void TEventLinkedList::UpdateAll(uint32_t Frames) {
  ForEach([Frames](TLinkedItem* item) { static_cast<TEvent*>(item)->Update(Frames); });
}

void TEventLinkedList::RemoveFinished() {
  TWalk walk(*this, TLinkedList::First());
  while (TLinkedItem* item = walk.Advance()) {
    if (static_cast<TEvent*>(item)->IsFinished()) Delete(item);
  }
}
