#include "PlayRecord.h"

#include "Enemy.h"
#include "EnemyList.h"
#include "JsonString.h"
#include "StageDefs.h"
#include "UShooting.h"

namespace {
std::string Counts(int32_t Spawned, int32_t Destroyed, int32_t Escaped, int32_t Cleared) {
  return "\"spawned\":" + std::to_string(Spawned) + ",\"destroyed\":" + std::to_string(Destroyed) +
         ",\"escaped\":" + std::to_string(Escaped) + ",\"cleared\":" + std::to_string(Cleared);
}
}  // namespace

void TPlayRecord::TCounts::Count(TEnemyEnd End) {
  switch (End) {
    case eeDestroyed: ++Destroyed; break;
    case eeEscaped: ++Escaped; break;
    case eeCleared: ++Cleared; break;
  }
}

TPlayRecord::TStageRow& TPlayRecord::StageOf(const TShootingScene& Game) {
  TStageRow& stage = stages_[Game.StageNumber];
  if (Game.Stage != nullptr && stage.Groups.empty()) {
    stage.Title = Game.Stage->Title;
    stage.Groups[-1].Size = -1;
    for (size_t g = 0; g < Game.Stage->GroupSizes.size(); ++g) {
      stage.Groups[static_cast<int32_t>(g)].Size = Game.Stage->GroupSizes[g];
    }
  }
  return stage;
}

void TPlayRecord::EnemyAppeared(const TShootingScene& Game, const TEnemy& Enemy) {
  TStageRow& stage = StageOf(Game);
  ++stage.Groups[Enemy.GroupIndex()].Counts.Spawned;
  TEnemyRow& row = stage.Enemies[Enemy.Def->ScriptId];
  row.Group = Enemy.GroupIndex();
  row.Frame = static_cast<int32_t>(Enemy.Def->Frame);
  row.HP = Enemy.Def->HP;
  ++row.Counts.Spawned;
}

void TPlayRecord::EnemyEnded(const TShootingScene& Game, const TEnemy& Enemy, TEnemyEnd End) {
  TStageRow& stage = StageOf(Game);
  stage.Groups[Enemy.GroupIndex()].Counts.Count(End);
  TEnemyRow& row = stage.Enemies[Enemy.Def->ScriptId];
  row.Counts.Count(End);
  row.Hits += Enemy.HitsTaken;
  gone_ += std::string(gone_.empty() ? "" : ",") + "{\"id\":" + std::to_string(Enemy.Def->ScriptId) +
           ",\"group\":" + std::to_string(Enemy.GroupIndex()) + ",\"hp\":" + std::to_string(Enemy.HP) + ",\"end\":\"" +
           EnemyEndName(End) + "\"}";
}

void TPlayRecord::GroupPaid(const TShootingScene& Game, int32_t Group) { ++StageOf(Game).Groups[Group].Counts.Paid; }

std::string TPlayRecord::TakeGone() {
  std::string json = ",\"gone\":[" + gone_ + "]";
  gone_.clear();
  return json;
}

void TPlayRecord::WriteReport(std::ostream& Out, const TCustomScene* Scene) const {
  // Enemies still flying at the end: their hits so far count, and they show as flying.
  std::map<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>> flying;  // (stage, id) -> (count, hits)
  std::map<std::pair<int32_t, int32_t>, int32_t> flyingInGroup;               // (stage, group) -> count
  if (const auto* game = dynamic_cast<const TShootingScene*>(Scene)) {
    for (TLinkedItem* item = game->Enemies->First(); item != nullptr; item = item->Next()) {
      const auto& enemy = *static_cast<const TEnemy*>(item);
      if (enemy.IsFinished()) continue;
      auto& [count, hits] = flying[{game->StageNumber, enemy.Def->ScriptId}];
      ++count;
      hits += enemy.HitsTaken;
      ++flyingInGroup[{game->StageNumber, enemy.GroupIndex()}];
    }
  }
  Out << "{\"stages\":[";
  const char* stageComma = "\n";
  for (const auto& [number, stage] : stages_) {
    Out << stageComma << "{\"stage\":" << number << ",\"title\":" << JsonString(stage.Title) << ",\"groups\":[";
    stageComma = ",\n";
    const char* comma = "\n  ";
    for (const auto& [group, row] : stage.Groups) {
      const auto inFlight = flyingInGroup.find({number, group});
      const int32_t flyingNow = inFlight == flyingInGroup.end() ? 0 : inFlight->second;
      const TCounts& c = row.Counts;
      Out << comma << "{\"group\":" << group;
      if (row.Size >= 0) Out << ",\"size\":" << row.Size;
      Out << "," << Counts(c.Spawned, c.Destroyed, c.Escaped, c.Cleared) << ",\"flying\":" << flyingNow
          << ",\"paid\":" << c.Paid << "}";
      comma = ",\n  ";
    }
    Out << "],\"enemies\":[";
    comma = "\n  ";
    for (const auto& [id, row] : stage.Enemies) {
      const auto inFlight = flying.find({number, id});
      const int32_t flyingNow = inFlight == flying.end() ? 0 : inFlight->second.first;
      const int32_t hits = row.Hits + (inFlight == flying.end() ? 0 : inFlight->second.second);
      const TCounts& c = row.Counts;
      Out << comma << "{\"id\":" << id << ",\"group\":" << row.Group << ",\"frame\":" << row.Frame
          << ",\"hp\":" << row.HP << "," << Counts(c.Spawned, c.Destroyed, c.Escaped, c.Cleared)
          << ",\"flying\":" << flyingNow << ",\"hits\":" << hits << "}";
      comma = ",\n  ";
    }
    Out << "]}";
  }
  Out << "\n]}\n";
}
