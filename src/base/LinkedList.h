// The intrusive doubly linked list every game object and stage entry lives in. Items carry their own links
// and a back pointer to their list; the list owns its items and frees them.
//
// Walks (ForEach, and the event list's RemoveFinished) read an item's successor before visiting it, so the
// visitor may delete the item it was given or clear the whole list: after a Clear the walk ends at once and
// touches nothing that was in the list. Unlinking keeps every running walk's saved successor valid, so even a
// visitor that deletes some other item of the list does not send the walk into freed memory.
#pragma once
#include <cstdint>

#include "TObject.h"

class TLinkedList;

class TLinkedItem : public TObject {
 public:
  TLinkedItem() = default;
  TLinkedItem(const TLinkedItem&) = delete;
  TLinkedItem& operator=(const TLinkedItem&) = delete;
  // An item destroyed while still linked unlinks itself first, so its list never keeps a dangling link.
  ~TLinkedItem() override;

  TLinkedList* Owner() const { return FOwner; }
  TLinkedItem* Prev() const { return FPrev; }
  TLinkedItem* Next() const { return FNext; }

  // Unlinks the item from its list and frees it.
  void Delete();

 private:
  friend class TLinkedList;
  TLinkedList* FOwner = nullptr;
  TLinkedItem* FPrev = nullptr;
  TLinkedItem* FNext = nullptr;
};

// A plain procedure for ForEach with an untyped data pointer passed through unchanged.
using TLinkedItemProc = void (*)(TLinkedItem* Item, void* Data);

class TLinkedList : public TObject {
 public:
  TLinkedList() = default;
  TLinkedList(const TLinkedList&) = delete;
  TLinkedList& operator=(const TLinkedList&) = delete;
  // Frees every item still linked. A walk running over the list (its visitor destroyed the list) ends.
  ~TLinkedList() override;

  TLinkedItem* First() const { return FFirst; }
  TLinkedItem* Last() const { return FLast; }
  int32_t Count() const { return FCount; }

  // Appends Item (a new, unlinked item) and takes ownership of it.
  virtual void Add(TLinkedItem* Item);
  // Links Item (new, unlinked) just before Target; throws Exception("Target is nil.") when Target is null.
  virtual void InsertBefore(TLinkedItem* Target, TLinkedItem* Item);

  // Deletes Item and returns its successor (read before anything is freed); null for a null Item.
  TLinkedItem* Delete(TLinkedItem* Item);
  // Frees every item; a walk of this list in progress ends after the current visit.
  void Clear();

  // Calls Proc(Item, Data) for every item from First to the end (see the walk rules above).
  void ForEach(TLinkedItemProc Proc, void* Data);
  // The same walk with any callable taking the item.
  template <typename Visitor>
  void ForEach(Visitor&& Visit) {
    ForEach([](TLinkedItem* Item, void* Data) { (*static_cast<Visitor*>(Data))(Item); }, &Visit);
  }

 protected:
  // A running walk: its saved successor, kept valid by Unlink and emptied by Clear.
  class TWalk {
   public:
    TWalk(TLinkedList& List, TLinkedItem* Start);
    ~TWalk();
    TWalk(const TWalk&) = delete;
    TWalk& operator=(const TWalk&) = delete;
    // The next item to visit (null at the end); its successor is saved before it is returned.
    TLinkedItem* Advance();

   private:
    friend class TLinkedList;
    TLinkedList* list_;  // null once the list is destroyed under the walk
    TLinkedItem* saved_;
    TWalk* outer_;
  };

 private:
  friend class TLinkedItem;
  // Removes Item's links and fixes First, Last, Count and any saved successor of a running walk.
  void Unlink(TLinkedItem* Item);

  TLinkedItem* FFirst = nullptr;
  TLinkedItem* FLast = nullptr;
  int32_t FCount = 0;
  TWalk* walks_ = nullptr;
};
