#include "LinkedList.h"

#include <gtest/gtest.h>

#include <vector>

#include "Exception.h"

namespace {

// An item that records its destruction and its name.
struct TTracked : TLinkedItem {
  TTracked(int Number, std::vector<int>* Log) : Id(Number), Destroyed(Log) {}
  ~TTracked() override {
    if (Destroyed) Destroyed->push_back(Id);
  }
  int Id;
  std::vector<int>* Destroyed;
};

std::vector<int> Ids(const TLinkedList& List) {
  std::vector<int> ids;
  for (TLinkedItem* item = List.First(); item; item = item->Next()) ids.push_back(static_cast<TTracked*>(item)->Id);
  return ids;
}

std::vector<int> IdsBackwards(const TLinkedList& List) {
  std::vector<int> ids;
  for (TLinkedItem* item = List.Last(); item; item = item->Prev())
    ids.insert(ids.begin(), static_cast<TTracked*>(item)->Id);
  return ids;
}

class LinkedListTest : public ::testing::Test {
 protected:
  TTracked* Make(int Id) { return new TTracked(Id, &destroyed_); }
  TTracked* Append(int Id) {
    TTracked* item = Make(Id);
    list_.Add(item);
    return item;
  }
  std::vector<int> destroyed_;
  TLinkedList list_;
};

TEST_F(LinkedListTest, AddToEmptyListMakesTheOnlyItem) {
  TTracked* item = Append(1);
  EXPECT_EQ(list_.First(), item);
  EXPECT_EQ(list_.Last(), item);
  EXPECT_EQ(list_.Count(), 1);
  EXPECT_EQ(item->Owner(), &list_);
  EXPECT_EQ(item->Prev(), nullptr);
  EXPECT_EQ(item->Next(), nullptr);
}

TEST_F(LinkedListTest, InsertBeforeKeepsLinksInBothDirections) {
  TTracked* one = Append(1);
  TTracked* three = Append(3);
  list_.InsertBefore(three, Make(2));
  list_.InsertBefore(one, Make(0));
  EXPECT_EQ(Ids(list_), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(IdsBackwards(list_), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(static_cast<TTracked*>(list_.First())->Id, 0);
  EXPECT_EQ(list_.First()->Owner(), &list_);
  EXPECT_EQ(list_.Count(), 4);
}

TEST_F(LinkedListTest, InsertBeforeNothingRaisesAndChangesNothing) {
  Append(1);
  TTracked* loose = Make(9);
  try {
    list_.InsertBefore(nullptr, loose);
    FAIL() << "no exception";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Target is nil.");
  }
  EXPECT_EQ(Ids(list_), (std::vector<int>{1}));
  EXPECT_EQ(loose->Owner(), nullptr);
  delete loose;
}

TEST_F(LinkedListTest, DeletingUnlinksAndFrees) {
  TTracked* one = Append(1);
  TTracked* two = Append(2);
  TTracked* three = Append(3);
  EXPECT_EQ(list_.Delete(two), three);
  EXPECT_EQ(Ids(list_), (std::vector<int>{1, 3}));
  EXPECT_EQ(IdsBackwards(list_), (std::vector<int>{1, 3}));
  EXPECT_EQ(list_.Delete(three), nullptr);
  EXPECT_EQ(list_.Last(), one);
  one->Delete();
  EXPECT_EQ(list_.First(), nullptr);
  EXPECT_EQ(list_.Last(), nullptr);
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(destroyed_, (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(list_.Delete(nullptr), nullptr);
}

TEST_F(LinkedListTest, ClearAndDestructionFreeEveryItem) {
  Append(1);
  Append(2);
  list_.Clear();
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(list_.First(), nullptr);
  EXPECT_EQ(destroyed_, (std::vector<int>{1, 2}));
  {
    TLinkedList local;
    local.Add(Make(7));
    local.Add(Make(8));
  }
  EXPECT_EQ(destroyed_, (std::vector<int>{1, 2, 7, 8}));
}

TEST_F(LinkedListTest, ItemDestroyedDirectlyLeavesNoDanglingLink) {
  Append(1);
  TTracked* two = Append(2);
  Append(3);
  delete two;
  EXPECT_EQ(Ids(list_), (std::vector<int>{1, 3}));
  EXPECT_EQ(IdsBackwards(list_), (std::vector<int>{1, 3}));
  EXPECT_EQ(list_.Count(), 2);
}

TEST_F(LinkedListTest, ForEachPassesDataAndVisitsInOrder) {
  Append(1);
  Append(2);
  Append(3);
  std::vector<int> seen;
  list_.ForEach([](TLinkedItem* Item,
                   void* Data) { static_cast<std::vector<int>*>(Data)->push_back(static_cast<TTracked*>(Item)->Id); },
                &seen);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
}

TEST_F(LinkedListTest, VisitorDeletingEachItemEmptiesTheList) {
  for (int id = 1; id <= 4; ++id) Append(id);
  std::vector<int> seen;
  list_.ForEach([&](TLinkedItem* Item) {
    seen.push_back(static_cast<TTracked*>(Item)->Id);
    Item->Delete();
  });
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(list_.First(), nullptr);
  EXPECT_EQ(list_.Last(), nullptr);
}

TEST_F(LinkedListTest, VisitorClearingTheListEndsTheWalk) {
  for (int id = 1; id <= 3; ++id) Append(id);
  std::vector<int> seen;
  list_.ForEach([&](TLinkedItem* Item) {
    seen.push_back(static_cast<TTracked*>(Item)->Id);
    list_.Clear();
  });
  EXPECT_EQ(seen, (std::vector<int>{1}));
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(destroyed_, (std::vector<int>{1, 2, 3}));
}

TEST_F(LinkedListTest, ItemsAddedAfterAClearInTheSameVisitAreNotWalked) {
  for (int id = 1; id <= 3; ++id) Append(id);
  std::vector<int> seen;
  list_.ForEach([&](TLinkedItem* Item) {
    seen.push_back(static_cast<TTracked*>(Item)->Id);
    if (seen.size() == 2) {
      list_.Clear();
      Append(10);
    }
  });
  EXPECT_EQ(seen, (std::vector<int>{1, 2}));
  EXPECT_EQ(Ids(list_), (std::vector<int>{10}));
}

TEST_F(LinkedListTest, AppendedItemsAreWalkedUnlessAddedAtTheLastItem) {
  Append(1);
  Append(2);
  std::vector<int> seen;
  list_.ForEach([&](TLinkedItem* Item) {
    const int id = static_cast<TTracked*>(Item)->Id;
    seen.push_back(id);
    if (id == 1) Append(3);  // the saved successor is 2: 3 is reached in this walk
    if (id == 3) Append(4);  // 3 is last: its saved successor is none, so 4 waits for the next walk
  });
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Ids(list_), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(LinkedListTest, VisitorDeletingTheSavedSuccessorDoesNotBreakTheWalk) {
  for (int id = 1; id <= 4; ++id) Append(id);
  std::vector<int> seen;
  list_.ForEach([&](TLinkedItem* Item) {
    seen.push_back(static_cast<TTracked*>(Item)->Id);
    if (seen.size() == 1) Item->Next()->Delete();
  });
  EXPECT_EQ(seen, (std::vector<int>{1, 3, 4}));
}

TEST_F(LinkedListTest, NestedWalksOfOneListBothSurviveDeletion) {
  for (int id = 1; id <= 3; ++id) Append(id);
  std::vector<int> outer;
  list_.ForEach([&](TLinkedItem* Item) {
    outer.push_back(static_cast<TTracked*>(Item)->Id);
    if (outer.size() == 1) {
      // The inner walk deletes item 2, the outer walk's saved successor.
      list_.ForEach([&](TLinkedItem* Inner) {
        if (static_cast<TTracked*>(Inner)->Id == 2) Inner->Delete();
      });
    }
  });
  EXPECT_EQ(outer, (std::vector<int>{1, 3}));
}

TEST(LinkedListWalkTest, VisitorDestroyingTheListEndsTheWalk) {
  std::vector<int> destroyed;
  auto* list = new TLinkedList;
  for (int id = 1; id <= 3; ++id) list->Add(new TTracked(id, &destroyed));
  int visits = 0;
  list->ForEach([&](TLinkedItem*) {
    ++visits;
    delete list;
  });
  EXPECT_EQ(visits, 1);
  EXPECT_EQ(destroyed, (std::vector<int>{1, 2, 3}));
}

TEST(TObjectTest, ClassNameIsTheDynamicClass) {
  std::vector<int> destroyed;
  TTracked item(1, nullptr);
  const TObject& object = item;
  EXPECT_EQ(object.ClassName(), "TTracked");
  EXPECT_EQ(TLinkedList().ClassName(), "TLinkedList");
}

}  // namespace
