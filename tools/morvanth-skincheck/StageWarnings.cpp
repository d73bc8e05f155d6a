#include <algorithm>
#include <map>
#include <tuple>

#include "EnemyFlight.h"
#include "Field.h"
#include "GraphicIds.h"
#include "SkinWarnings.h"
#include "StageDefs.h"

namespace {

// A stretch longer than this without a restart point sends a player who loses a ship too far back.
constexpr int64_t kRestartGapLimit = 3000;

struct TStageScan {
  const TWarningContext& Skin;
  int32_t Number;  // from 1
  const TStageDef& Stage;
  std::vector<TSkinWarning>& Warnings;

  TSkinWarning& Add(const char* Code, const TStageObjectDef* Entry) {
    TSkinWarning w(Code);
    w.Stage = Number;
    if (Entry != nullptr) {
      w.Frame = Entry->Frame;
      w.Entry = Entry;
      if (Entry->Kind == okEnemy) {
        auto* enemy = static_cast<const TEnemyDef*>(Entry);
        w.Id = Skin.Ids.Of(enemy->Graphic);
        w.Group = enemy->Group;
      }
    }
    Warnings.push_back(std::move(w));
    return Warnings.back();
  }
};

std::string Spot(int32_t X, int32_t Y) { return "(" + std::to_string(X) + ", " + std::to_string(Y) + ")"; }

// Frames of uninterrupted fire a ship without power-ups needs to take Hp hit points: the first shot at once, then one
// a volley.
int64_t FramesToDestroy(int32_t Hp, int32_t VolleyInterval) {
  return Hp <= 1 ? 1 : int64_t{Hp - 1} * VolleyInterval + 1;
}

void FindNeverOnField(TStageScan& Scan) {
  for (const TStageObjectDef* entry = Scan.Stage.First(); entry != nullptr; entry = entry->Next()) {
    if (entry->Kind != okEnemy) continue;
    auto* enemy = static_cast<const TEnemyDef*>(entry);
    const TEnemyFlight& flight = Scan.Skin.Flights.Of(*enemy);
    if (flight.FramesOnField > 0) continue;
    TSkinWarning& w = Scan.Add("enemy-never-on-field", entry);
    if (enemy->HP <= 0) {
      w.Text = "has no hit points (hp " + std::to_string(enemy->HP) + "): it is gone in the frame it appears";
    } else {
      w.Text = "its hit area never overlaps the " + std::to_string(kFieldWidth) + " x " + std::to_string(kFieldHeight) +
               " field (first drawn at " + Spot(flight.FirstX, flight.FirstY) + ", ";
      w.Text += flight.GoneAt >= 0 ? "gone after " + std::to_string(flight.GoneAt + 1) + " frames"
                                   : "still off the field after ten minutes";
      w.Text += "): it can be neither seen nor shot";
    }
    if (enemy->Group >= 0) w.Text += ", so its group " + std::to_string(enemy->Group) + " never pays out";
  }
}

// A stage ends only when a stage-clear enemy is destroyed: one must come onto the field and stay there.
void FindStageClear(TStageScan& Scan) {
  const TEnemyDef* lastToGo = nullptr;
  int64_t lastGoneAt = -1;
  bool anyStageClear = false;
  bool anyOnField = false;
  for (const TStageObjectDef* entry = Scan.Stage.First(); entry != nullptr; entry = entry->Next()) {
    if (entry->Kind != okEnemy || !static_cast<const TEnemyDef*>(entry)->StageClear) continue;
    auto* enemy = static_cast<const TEnemyDef*>(entry);
    anyStageClear = true;
    const TEnemyFlight& flight = Scan.Skin.Flights.Of(*enemy);
    if (flight.FramesOnField == 0) continue;
    anyOnField = true;
    if (flight.GoneAt < 0) return;  // it stays until destroyed
    const int64_t goneAt = int64_t{entry->Frame} + flight.GoneAt;
    if (goneAt >= lastGoneAt) {
      lastGoneAt = goneAt;
      lastToGo = enemy;
    }
  }
  if (!anyOnField) {
    Scan.Add("stage-never-clears", nullptr).Text =
        anyStageClear ? "none of its enemies with stageclear=\"true\" comes onto the field: the stage can never end"
                      : "no enemy has stageclear=\"true\": the stage can never end";
    return;
  }
  Scan.Add("stage-clear-escapes", lastToGo).Text =
      "the stage-clear enemy is gone at frame " + std::to_string(lastGoneAt) +
      " (its path ends or it leaves the field) and no stage-clear enemy stays: after that the stage can never end";
}

void FindRestartGaps(TStageScan& Scan) {
  int64_t from = 0;  // the stage start is the first place to restart from
  int64_t last = 0;
  const TStageObjectDef* gapStart = nullptr;
  auto check = [&](int64_t To) {
    if (To - from <= kRestartGapLimit) return;
    TSkinWarning& w = Scan.Add("restart-gap", gapStart);
    w.Frame = from;
    w.Text = "no restart point from frame " + std::to_string(from) + " to " + std::to_string(To) + " (" +
             std::to_string(To - from) + " frames): a ship lost there goes back to frame " + std::to_string(from);
  };
  for (const TStageObjectDef* entry = Scan.Stage.First(); entry != nullptr; entry = entry->Next()) {
    last = std::max<int64_t>(last, entry->Frame);
    if (entry->Kind != okRestartPoint) continue;
    check(entry->Frame);
    from = entry->Frame;
    gapStart = entry;
  }
  check(last);
}

void FindGroupMistakes(TStageScan& Scan) {
  struct TGroupEscape {
    const TEnemyDef* First = nullptr;
    int32_t Count = 0;
    const TEnemyFlight* Flight = nullptr;
  };
  std::map<int32_t, TGroupEscape> escapes;
  std::map<std::tuple<int32_t, uint32_t, int32_t, int32_t>, const TEnemyDef*> spots;
  for (const TStageObjectDef* entry = Scan.Stage.First(); entry != nullptr; entry = entry->Next()) {
    if (entry->Kind != okEnemy) continue;
    auto* enemy = static_cast<const TEnemyDef*>(entry);
    if (enemy->Group < 0) continue;
    const TEnemyFlight& flight = Scan.Skin.Flights.Of(*enemy);
    const auto [other, fresh] = spots.try_emplace({enemy->Group, enemy->Frame, flight.FirstX, flight.FirstY}, enemy);
    if (!fresh) {
      Scan.Add("group-same-spot", entry).Text = "appears in the same frame and at the same spot " +
                                                Spot(flight.FirstX, flight.FirstY) + " as another member of group " +
                                                std::to_string(enemy->Group) + ": the two are drawn as one enemy";
    }
    // Members never on the field are told about on their own.
    if (flight.FramesOnField == 0 || flight.FramesOnField >= FramesToDestroy(enemy->HP, Scan.Skin.VolleyInterval))
      continue;
    TGroupEscape& escape = escapes[enemy->Group];
    if (escape.First == nullptr) {
      escape.First = enemy;
      escape.Flight = &flight;
    }
    ++escape.Count;
  }
  for (const auto& [group, escape] : escapes) {
    const TEnemyDef* first = escape.First;
    TSkinWarning& w = Scan.Add("group-escapes", first);
    w.Text = std::to_string(escape.Count) + " of the " + std::to_string(Scan.Stage.GroupSizes[size_t(group)]) +
             " members of group " + std::to_string(group) +
             " leave the field before a ship without power-ups can destroy them (the first: on the field for " +
             std::to_string(escape.Flight->FramesOnField) + " frames, " + std::to_string(first->HP) +
             " hit points need " + std::to_string(FramesToDestroy(first->HP, Scan.Skin.VolleyInterval)) + ")";
    if (first->Item != ikNone) w.Text += ": the group's capsule is easily lost";
  }
}

}  // namespace

void FindStageWarnings(const TWarningContext& Skin, std::vector<TSkinWarning>& Warnings) {
  int32_t number = 0;
  for (const TStageDef* stage = Skin.Stages.First(); stage != nullptr; stage = stage->Next()) {
    const size_t first = Warnings.size();
    TStageScan scan{Skin, ++number, *stage, Warnings};
    FindStageClear(scan);
    FindRestartGaps(scan);
    FindNeverOnField(scan);
    FindGroupMistakes(scan);
    // In the order of the stage's frames; stage-wide warnings (no frame) first.
    std::stable_sort(Warnings.begin() + std::ptrdiff_t(first), Warnings.end(),
                     [](const TSkinWarning& A, const TSkinWarning& B) { return A.Frame < B.Frame; });
  }
}
