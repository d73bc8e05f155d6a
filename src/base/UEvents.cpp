#include "UEvents.h"

#include <utility>

void TEvent::Update(uint32_t Frames) { FElapsed += Frames; }

bool TEvent::IsFinished() const { return false; }

TTimerEvent::TTimerEvent(uint32_t Delay, TNotifyEvent OnTimer) : FDelay(Delay), FOnTimer(std::move(OnTimer)) {}

void TTimerEvent::Update(uint32_t Frames) {
  TEvent::Update(Frames);
  if (FElapsed >= FDelay && !FFired) {
    FFired = true;
    // The handler may free this timer, so it is moved out first and nothing of the timer is touched afterwards.
    TNotifyEvent handler = std::move(FOnTimer);
    if (handler) handler(this);
  }
}

bool TTimerEvent::IsFinished() const { return FFired; }

void TEventLinkedList::UpdateAll(uint32_t Frames) {
  ForEach([Frames](TLinkedItem* Item) { static_cast<TEvent*>(Item)->Update(Frames); });
}

void TEventLinkedList::RemoveFinished() {
  TWalk walk(*this, TLinkedList::First());
  while (TLinkedItem* item = walk.Advance()) {
    if (static_cast<TEvent*>(item)->IsFinished()) Delete(item);
  }
}
