// What happened to the enemies of a headless run: each one that ended in a frame (for the state line's "gone"),
// and, per stage, every group's count of enemies spawned, destroyed, escaped and cleared and the capsules it paid,
// with every script enemy's hits taken (the --report file).
#pragma once
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>

#include "PlayObserver.h"

class TCustomScene;

class TPlayRecord : public TPlayObserver {
 public:
  void EnemyAppeared(const TShootingScene& Game, const TEnemy& Enemy) override;
  void EnemyEnded(const TShootingScene& Game, const TEnemy& Enemy, TEnemyEnd End) override;
  void GroupPaid(const TShootingScene& Game, int32_t Group) override;

  // ,"gone":[{"id":..,"group":..,"hp":..,"end":"destroyed"},...] for the enemies that ended since the last call.
  std::string TakeGone();
  // The report as JSON; Scene (the one running at the end) adds the hits of the enemies still flying.
  void WriteReport(std::ostream& Out, const TCustomScene* Scene) const;

 private:
  struct TCounts {
    int32_t Spawned = 0, Destroyed = 0, Escaped = 0, Cleared = 0, Paid = 0;
    void Count(TEnemyEnd End);
  };
  struct TGroupRow {
    int32_t Size = 0;  // members in the script (-1: not a group)
    TCounts Counts;
  };
  struct TEnemyRow {
    int32_t Group = -1, Frame = 0, HP = 0, Hits = 0;
    TCounts Counts;
  };
  struct TStageRow {
    std::string Title;  // CP932
    std::map<int32_t, TGroupRow> Groups;
    std::map<int32_t, TEnemyRow> Enemies;  // by script id
  };

  TStageRow& StageOf(const TShootingScene& Game);

  std::map<int32_t, TStageRow> stages_;  // by stage number
  std::string gone_;
};
