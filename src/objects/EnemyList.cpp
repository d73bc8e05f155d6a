#include "EnemyList.h"

#include <utility>

void TEnemyLinkedList::Add(TLinkedItem* Item) {
  if (auto* enemy = dynamic_cast<TEnemy*>(Item)) enemy->OnDestroyed = OnDestroyed;
  TVisibleLinkedList::Add(Item);
}

void TEnemyLinkedList::InsertBefore(TLinkedItem* Target, TLinkedItem* Item) {
  if (auto* enemy = dynamic_cast<TEnemy*>(Item)) enemy->OnDestroyed = OnDestroyed;
  TVisibleLinkedList::InsertBefore(Target, Item);
}

void TEnemyLinkedList::SetOnDestroyed(TNotifyEvent Handler) {
  OnDestroyed = std::move(Handler);
  for (TLinkedItem* item = TLinkedList::First(); item; item = item->Next()) {
    if (auto* enemy = dynamic_cast<TEnemy*>(item)) enemy->OnDestroyed = OnDestroyed;
  }
}
