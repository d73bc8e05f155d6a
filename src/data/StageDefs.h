// Stage scripts: per stage a frame-ordered list of enemy appearances and restart points, plus the
// sizes of its enemy groups; the stage list holds every stage of stagedef.xml.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "GameVocabulary.h"
#include "LinkedList.h"

class TGraphicDef;
class TGraphicDefList;
struct TSkinPlace;

enum TStageObjectKind : uint8_t { okEnemy = 0, okRestartPoint = 1 };

// One script entry: takes effect at stage frame Frame.
class TStageObjectDef : public TLinkedItem {
 public:
  TStageObjectKind Kind;
  uint32_t Frame = 0;

  TStageObjectDef* Next() const { return static_cast<TStageObjectDef*>(TLinkedItem::Next()); }
  TStageObjectDef* Prev() const { return static_cast<TStageObjectDef*>(TLinkedItem::Prev()); }

 protected:
  explicit TStageObjectDef(TStageObjectKind AKind) : Kind(AKind) {}
};

class TEnemyDef : public TStageObjectDef {
 public:
  TEnemyDef() : TStageObjectDef(okEnemy) {}
  // The enemy's place among the enemy elements of its stage in document order, from 0 (groups included): how
  // an author finds it in stagedef.xml, whatever the frame order.
  int32_t ScriptId = 0;
  // Index of the enemy's group in its stage, -1 for none.
  int32_t Group = 0;
  int32_t X = 0;
  int32_t Y = 0;
  uint8_t Motion = mtStraight;
  // Not owned: resolved by id when loading.
  TGraphicDef* Graphic = nullptr;
  int32_t HP = 0;
  bool StageClear = false;
  TItemKind Item = ikNone;
  int32_t Speed = 0;
};

class TRestartPointDef : public TStageObjectDef {
 public:
  TRestartPointDef() : TStageObjectDef(okRestartPoint) {}
};

// One stage: owns its entries, kept in frame order while Sorted.
class TStageDef : public TLinkedList {
 public:
  bool Sorted = true;
  std::string Title;
  // Entry g: number of enemies of group g.
  std::vector<int32_t> GroupSizes;

  // Inserts Def (taking ownership) before the first entry of a greater frame, so equal frames keep the
  // order they were added in; appends when unsorted or when no such entry exists.
  void AddObject(TStageObjectDef* Def);
  // The first entry whose frame is at least AFrame, or none.
  TStageObjectDef* FindFrom(uint32_t AFrame) const;

  TStageObjectDef* First() const { return static_cast<TStageObjectDef*>(TLinkedList::First()); }
  // Neighbouring stages in the stage list.
  TStageDef* Prev() const { return FPrev; }
  TStageDef* Next() const { return FNext; }

 private:
  friend class TStageDefList;
  TStageDef* FPrev = nullptr;
  TStageDef* FNext = nullptr;
};

class TStageDefList : public TObject {
 public:
  explicit TStageDefList(TGraphicDefList* GraphicDefs);
  ~TStageDefList() override;
  TStageDefList(const TStageDefList&) = delete;
  TStageDefList& operator=(const TStageDefList&) = delete;

  // Resolves the graphic ids of enemies; not owned.
  TGraphicDefList* GraphicDefs() const { return FGraphicDefs; }
  TStageDef* First() const { return FFirst; }
  TStageDef* Last() const { return FLast; }
  int32_t Count() const { return FCount; }

  // Appends Stage, taking ownership.
  void Add(TStageDef* Stage);
  // Unlinks and frees Stage; nothing for none.
  void Delete(TStageDef* Stage);
  void Clear();
  // Clear, then load stagedef.xml of the skin at Place; the result of LoadStageDefs.
  bool Reload(const TSkinPlace& Place);

 private:
  TGraphicDefList* FGraphicDefs;
  TStageDef* FFirst = nullptr;
  TStageDef* FLast = nullptr;
  int32_t FCount = 0;
};
