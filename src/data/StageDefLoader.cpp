#include "StageDefLoader.h"

#include <iterator>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "Exception.h"
#include "Field.h"
#include "GraphicDefs.h"
#include "SkinPlace.h"
#include "TextEncoding.h"
#include "XmlReaders.h"

namespace {

// Budgets of a stage's numbers (docs/skins.md). The field is 800 pixels wide: a speed past 1000 crosses it in one
// frame, and a start more than 100000 pixels away never comes into view; both leave the motion's arithmetic far
// from the 32-bit limits.
constexpr int32_t kSpeedLimit = 1000;
constexpr int32_t kPlaceLimit = 100000;
// Entries (enemies and restart points) of one stage: the bundled stages hold under 400, and a stage runs at
// most a few minutes; 100000 leaves room for any hand-made stage and keeps a stage's memory to megabytes.
constexpr size_t kStageEntryLimit = 100000;

class TStageLoader {
 public:
  TStageLoader(TStageDefList& List, TStageDef& Stage) : list_(List), stage_(Stage) {}

  // Puts the entries read into the stage in frame order. Inserting each one with AddObject walks the list,
  // quadratic in the entries; a stable sort gives the same order (equal frames keep document order) at once.
  void Finish() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const auto& A, const auto& B) { return A->Frame < B->Frame; });
    for (auto& entry : entries_) stage_.AddObject(entry.release());
    entries_.clear();
  }

  // Walks the children of Parent (a stage or a group element).
  void LoadStageObjects(const TXmlNode& Parent) {
    for (TXmlNode node = Parent.FirstChild(); node; node = node.NextSibling()) {
      if (node.IsNamed("group")) {
        ++groupCounter_;
        stage_.GroupSizes.resize(static_cast<size_t>(groupCounter_) + 1, 0);
        stage_.GroupSizes[static_cast<size_t>(groupCounter_)] = 0;
        LoadStageObjects(node);
      } else if (node.IsNamed("enemy")) {
        // An enemy whose parent is a group takes the group's values as defaults.
        LoadEnemy(node, Parent.IsNamed("group") ? Parent : TXmlNode());
      } else if (node.IsNamed("restartpoint")) {
        auto point = std::make_unique<TRestartPointDef>();
        point->Frame = ReadRequiredValue(node, "frame").AsCardinal();
        Keep(std::move(point));
      }
    }
  }

 private:
  void LoadEnemy(const TXmlNode& Node, const TXmlNode& Group) {
    auto enemy = std::make_unique<TEnemyDef>();
    enemy->ScriptId = enemyCount_++;
    if (Group) {
      uint32_t groupFrame = ReadRequiredValue(Group, "frame").AsCardinal();
      enemy->Frame = groupFrame + ReadRequiredValue(Node, "frame").AsCardinal();
    } else {
      enemy->Frame = ReadRequiredValue(Node, "frame").AsCardinal();
    }
    enemy->X = ReadInherited(Node, Group, "x", int32_t{kFieldWidth}).AsIntegerWithin(-kPlaceLimit, kPlaceLimit);
    enemy->Y = ReadInherited(Node, Group, "y", int32_t{0}).AsIntegerWithin(-kPlaceLimit, kPlaceLimit);
    enemy->Motion = MotionFromName(ReadInherited(Node, Group, "motion", "").AsText());
    enemy->Graphic = list_.GraphicDefs()->Find(ReadInherited(Node, Group, "graphic", "bot").AsText());
    enemy->HP = ReadInherited(Node, Group, "hp", int32_t{1}).AsInteger();
    enemy->StageClear = ReadValue(Node, "stageclear", false).AsBoolean();
    enemy->Item = ItemFromName(ReadInherited(Node, Group, "item", "").AsText());
    enemy->Speed = ReadInherited(Node, Group, "speed", int32_t{5}).AsIntegerWithin(-kSpeedLimit, kSpeedLimit);
    if (Group) {
      enemy->Group = groupCounter_;
      ++stage_.GroupSizes[static_cast<size_t>(groupCounter_)];
    } else {
      enemy->Group = -1;
    }
    Keep(std::move(enemy));
  }

  void Keep(std::unique_ptr<TStageObjectDef> Entry) {
    if (entries_.size() >= kStageEntryLimit) {
      throw Exception(Jp("ステージのエントリが多すぎます (上限 ") + std::to_string(kStageEntryLimit) + ")");
    }
    entries_.push_back(std::move(Entry));
  }

  // The group's value (or the built-in default) is the default for the enemy's own.
  static TVariant ReadInherited(const TXmlNode& Node, const TXmlNode& Group, const std::string& Name,
                                const TVariant& Default) {
    if (!Group) return ReadValue(Node, Name, Default);
    return ReadValue(Node, Name, ReadValue(Group, Name, Default));
  }

  TStageDefList& list_;
  TStageDef& stage_;
  int32_t groupCounter_ = -1;
  int32_t enemyCount_ = 0;
  std::vector<std::unique_ptr<TStageObjectDef>> entries_;  // in document order until Finish
};

}  // namespace

bool LoadStageDefs(TStageDefList& List, const TSkinPlace& Place) {
  const std::string path = Place.FindXmlFile("stagedef.xml");
  if (path.empty()) return false;
  TXmlDocument document(path);
  TXmlNode root = document.DocumentElement();
  if (!root.HasChildNodes()) return false;
  for (TXmlNode node = root.FirstChild(); node; node = node.NextSibling()) {
    if (!node.IsNamed("stage")) continue;
    auto stage = std::make_unique<TStageDef>();
    char title[32];
    std::snprintf(title, sizeof title, "STAGE%d", List.Count() + 1);
    stage->Title = ReadValue(node, "title", std::string(title)).AsText();
    TStageLoader loader(List, *stage);
    loader.LoadStageObjects(node);
    loader.Finish();
    List.Add(stage.release());
  }
  return true;
}

int32_t CountStages(const TSkinPlace& Place) {
  const std::string path = Place.FindXmlFile("stagedef.xml");
  if (path.empty()) return 0;
  TXmlDocument document(path);
  int32_t count = 0;
  for (TXmlNode node = document.DocumentElement().FirstChild(); node; node = node.NextSibling()) {
    if (node.IsNamed("stage")) ++count;
  }
  return count;
}

uint8_t MotionFromName(const std::string& Name) {
  static const std::array<const char*, 8> kNames = {"straight", "sturn1",  "sturn2",  "cturn1",
                                                    "cturn2",   "zigzag1", "zigzag2", "boss1"};
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (Name == kNames[i]) return static_cast<uint8_t>(i);
  }
  return mtStraight;
}

TItemKind ItemFromName(const std::string& Name) {
  for (size_t kind = ikPowerUp; kind < std::size(kItemKinds); ++kind) {
    if (Name == kItemKinds[kind].Name) return static_cast<TItemKind>(kind);
  }
  return ikNone;
}
