#include "StageDefs.h"

#include <memory>

#include "StageDefLoader.h"

void TStageDef::AddObject(TStageObjectDef* Def) {
  // An entry at or after the last one goes to the end, as the walk would put it: sorted input costs O(1).
  if (Sorted && TLinkedList::Last() != nullptr &&
      static_cast<TStageObjectDef*>(TLinkedList::Last())->Frame > Def->Frame) {
    for (TStageObjectDef* entry = First(); entry != nullptr; entry = entry->Next()) {
      if (entry->Frame > Def->Frame) {
        InsertBefore(entry, Def);
        return;
      }
    }
  }
  Add(Def);
}

TStageObjectDef* TStageDef::FindFrom(uint32_t AFrame) const {
  for (TStageObjectDef* entry = First(); entry != nullptr; entry = entry->Next()) {
    if (entry->Frame >= AFrame) return entry;
  }
  return nullptr;
}

TStageDefList::TStageDefList(TGraphicDefList* GraphicDefs) : GraphicDefs_(GraphicDefs) {}

TStageDefList::~TStageDefList() { Clear(); }

void TStageDefList::Add(TStageDef* Stage) {
  Stage->Prev_ = Last_;
  Stage->Next_ = nullptr;
  if (Last_ != nullptr) Last_->Next_ = Stage;
  if (First_ == nullptr) First_ = Stage;
  Last_ = Stage;
  ++Count_;
}

void TStageDefList::Delete(TStageDef* Stage) {
  if (Stage == nullptr) return;
  if (Stage->Prev_ != nullptr) Stage->Prev_->Next_ = Stage->Next_;
  if (Stage->Next_ != nullptr) Stage->Next_->Prev_ = Stage->Prev_;
  if (First_ == Stage) First_ = Stage->Next_;
  if (Last_ == Stage) Last_ = Stage->Prev_;
  delete Stage;
  --Count_;
}

void TStageDefList::Clear() {
  while (First_ != nullptr) Delete(First_);
  First_ = nullptr;
  Last_ = nullptr;
  Count_ = 0;
}

bool TStageDefList::Reload(const TSkinPlace& Place) {
  Clear();
  return LoadStageDefs(*this, Place);
}
