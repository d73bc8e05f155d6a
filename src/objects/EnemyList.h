// The scene's enemy list: every enemy linked into it reports its destruction to the list's handler.
#pragma once
#include "Enemy.h"
#include "Visible.h"

class TEnemyLinkedList : public TVisibleLinkedList {
 public:
  TNotifyEvent OnDestroyed;

  void Add(TLinkedItem* Item) override;
  void InsertBefore(TLinkedItem* Target, TLinkedItem* Item) override;
  // Stores Handler and hands it to every enemy already in the list.
  void SetOnDestroyed(TNotifyEvent Handler);
};
