#include "EnemyList.h"

#include <utility>

void TEnemyLinkedList::Add(TLinkedItem* Item) {
  if (auto* Enemy = dynamic_cast<TEnemy*>(Item)) Enemy->OnDestroyed = OnDestroyed;
  TVisibleLinkedList::Add(Item);
}

void TEnemyLinkedList::InsertBefore(TLinkedItem* Target, TLinkedItem* Item) {
  if (auto* Enemy = dynamic_cast<TEnemy*>(Item)) Enemy->OnDestroyed = OnDestroyed;
  TVisibleLinkedList::InsertBefore(Target, Item);
}

void TEnemyLinkedList::SetOnDestroyed(TNotifyEvent Handler) {
  OnDestroyed = std::move(Handler);
  for (TLinkedItem* Item = TLinkedList::First(); Item; Item = Item->Next()) {
    if (auto* Enemy = dynamic_cast<TEnemy*>(Item)) Enemy->OnDestroyed = OnDestroyed;
  }
}
