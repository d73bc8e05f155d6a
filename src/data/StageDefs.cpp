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

TStageDefList::TStageDefList(TGraphicDefList* GraphicDefs) : FGraphicDefs(GraphicDefs) {}

TStageDefList::~TStageDefList() { Clear(); }

void TStageDefList::Add(TStageDef* Stage) {
  Stage->FPrev = FLast;
  Stage->FNext = nullptr;
  if (FLast != nullptr) FLast->FNext = Stage;
  if (FFirst == nullptr) FFirst = Stage;
  FLast = Stage;
  ++FCount;
}

void TStageDefList::Delete(TStageDef* Stage) {
  if (Stage == nullptr) return;
  if (Stage->FPrev != nullptr) Stage->FPrev->FNext = Stage->FNext;
  if (Stage->FNext != nullptr) Stage->FNext->FPrev = Stage->FPrev;
  if (FFirst == Stage) FFirst = Stage->FNext;
  if (FLast == Stage) FLast = Stage->FPrev;
  delete Stage;
  --FCount;
}

void TStageDefList::Clear() {
  while (FFirst != nullptr) Delete(FFirst);
  FFirst = nullptr;
  FLast = nullptr;
  FCount = 0;
}

bool TStageDefList::Reload(const TSkinPlace& Place) {
  Clear();
  return LoadStageDefs(*this, Place);
}
