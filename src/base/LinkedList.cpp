#include "LinkedList.h"

#include "Exception.h"

TLinkedItem::~TLinkedItem() {
  if (FOwner) FOwner->Unlink(this);
}

void TLinkedItem::Delete() {
  // Unlinked before destruction, so the destructors of derived classes see the item outside its list.
  if (FOwner) FOwner->Unlink(this);
  delete this;
}

TLinkedList::~TLinkedList() {
  Clear();
  for (TWalk* walk = walks_; walk; walk = walk->outer_) walk->list_ = nullptr;
}

void TLinkedList::Add(TLinkedItem* Item) {
  Item->FOwner = this;
  Item->FPrev = FLast;
  Item->FNext = nullptr;
  if (!FFirst) FFirst = Item;
  if (FLast) FLast->FNext = Item;
  FLast = Item;
  ++FCount;
}

void TLinkedList::InsertBefore(TLinkedItem* Target, TLinkedItem* Item) {
  if (!Target) throw Exception("Target is nil.");
  if (Target == FFirst) FFirst = Item;
  if (Target->FPrev) Target->FPrev->FNext = Item;
  Item->FOwner = this;
  Item->FPrev = Target->FPrev;
  Item->FNext = Target;
  Target->FPrev = Item;
  ++FCount;
}

TLinkedItem* TLinkedList::Delete(TLinkedItem* Item) {
  if (!Item) return nullptr;
  TLinkedItem* next = Item->FNext;
  Item->Delete();
  return next;
}

void TLinkedList::Clear() {
  // Destructors may add or delete items; keep going until none is left.
  while (FFirst) FFirst->Delete();
  FFirst = nullptr;
  FLast = nullptr;
  FCount = 0;
  for (TWalk* walk = walks_; walk; walk = walk->outer_) walk->saved_ = nullptr;
}

void TLinkedList::ForEach(TLinkedItemProc Proc, void* Data) {
  TWalk walk(*this, FFirst);
  while (TLinkedItem* item = walk.Advance()) Proc(item, Data);
}

void TLinkedList::Unlink(TLinkedItem* Item) {
  for (TWalk* walk = walks_; walk; walk = walk->outer_) {
    if (walk->saved_ == Item) walk->saved_ = Item->FNext;
  }
  if (Item->FPrev) Item->FPrev->FNext = Item->FNext;
  if (Item->FNext) Item->FNext->FPrev = Item->FPrev;
  if (FFirst == Item) FFirst = Item->FNext;
  if (FLast == Item) FLast = Item->FPrev;
  --FCount;
  Item->FOwner = nullptr;
  Item->FPrev = nullptr;
  Item->FNext = nullptr;
}

// The list points at walks on the stack only while they run: each walk unregisters itself in its destructor.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
TLinkedList::TWalk::TWalk(TLinkedList& List, TLinkedItem* Start) : list_(&List), saved_(Start), outer_(List.walks_) {
  List.walks_ = this;
}

TLinkedList::TWalk::~TWalk() {
  // Walks end in reverse order of their start (they live on the stack), so this one is innermost.
  if (list_) list_->walks_ = outer_;
}

TLinkedItem* TLinkedList::TWalk::Advance() {
  TLinkedItem* item = saved_;
  if (item) saved_ = item->FNext;
  return item;
}
