#include "LinkedList.h"

#include "Exception.h"

TLinkedItem::~TLinkedItem() {
  if (Owner_) Owner_->Unlink(this);
}

void TLinkedItem::Delete() {
  // Unlinked before destruction, so the destructors of derived classes see the item outside its list.
  if (Owner_) Owner_->Unlink(this);
  delete this;
}

TLinkedList::~TLinkedList() {
  Clear();
  for (TWalk* walk = Walks_; walk; walk = walk->Outer_) walk->List_ = nullptr;
}

void TLinkedList::Add(TLinkedItem* Item) {
  Item->Owner_ = this;
  Item->Prev_ = Last_;
  Item->Next_ = nullptr;
  if (!First_) First_ = Item;
  if (Last_) Last_->Next_ = Item;
  Last_ = Item;
  ++Count_;
}

void TLinkedList::InsertBefore(TLinkedItem* Target, TLinkedItem* Item) {
  if (!Target) throw Exception("Target is nil.");
  if (Target == First_) First_ = Item;
  if (Target->Prev_) Target->Prev_->Next_ = Item;
  Item->Owner_ = this;
  Item->Prev_ = Target->Prev_;
  Item->Next_ = Target;
  Target->Prev_ = Item;
  ++Count_;
}

TLinkedItem* TLinkedList::Delete(TLinkedItem* Item) {
  if (!Item) return nullptr;
  TLinkedItem* next = Item->Next_;
  Item->Delete();
  return next;
}

void TLinkedList::Clear() {
  // Destructors may add or delete items; keep going until none is left.
  while (First_) First_->Delete();
  First_ = nullptr;
  Last_ = nullptr;
  Count_ = 0;
  for (TWalk* walk = Walks_; walk; walk = walk->Outer_) walk->Saved_ = nullptr;
}

void TLinkedList::ForEach(TLinkedItemProc Proc, void* Data) {
  TWalk walk(*this, First_);
  while (TLinkedItem* item = walk.Advance()) Proc(item, Data);
}

void TLinkedList::Unlink(TLinkedItem* Item) {
  for (TWalk* walk = Walks_; walk; walk = walk->Outer_) {
    if (walk->Saved_ == Item) walk->Saved_ = Item->Next_;
  }
  if (Item->Prev_) Item->Prev_->Next_ = Item->Next_;
  if (Item->Next_) Item->Next_->Prev_ = Item->Prev_;
  if (First_ == Item) First_ = Item->Next_;
  if (Last_ == Item) Last_ = Item->Prev_;
  --Count_;
  Item->Owner_ = nullptr;
  Item->Prev_ = nullptr;
  Item->Next_ = nullptr;
}

// The list points at walks on the stack only while they run: each walk unregisters itself in its destructor.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
TLinkedList::TWalk::TWalk(TLinkedList& list, TLinkedItem* start) : List_(&list), Saved_(start), Outer_(list.Walks_) {
  list.Walks_ = this;
}

TLinkedList::TWalk::~TWalk() {
  // Walks end in reverse order of their start (they live on the stack), so this one is innermost.
  if (List_) List_->Walks_ = Outer_;
}

TLinkedItem* TLinkedList::TWalk::Advance() {
  TLinkedItem* item = Saved_;
  if (item) Saved_ = item->Next_;
  return item;
}
