// What a game scene tells whoever follows the play of a stage (the headless runner's play report and its
// enemy list): each enemy appearing and ending, and each group paying out. Nobody listens unless installed;
// the scene then does no extra work.
#pragma once
#include <cstdint>

class TEnemy;
class TShootingScene;

enum TEnemyEnd : uint8_t {
  eeDestroyed = 0,  // damage took its hit points
  eeEscaped = 1,    // it left the field or flew out its path
  eeCleared = 2,    // the stage restarted or changed, or the game ended, while it flew
};

// The name of an ending as the state lines and reports write it.
const char* EnemyEndName(TEnemyEnd End);

class TPlayObserver {
 public:
  virtual ~TPlayObserver() = default;
  virtual void EnemyAppeared(const TShootingScene& Game, const TEnemy& Enemy) = 0;
  virtual void EnemyEnded(const TShootingScene& Game, const TEnemy& Enemy, TEnemyEnd End) = 0;
  // Group Group of the current stage dropped its capsule (-1: an enemy of no group dropped its own).
  virtual void GroupPaid(const TShootingScene& Game, int32_t Group) = 0;
};

TPlayObserver* PlayObserver();
// Installs Observer for every game scene from now on; none stops the reports.
void SetPlayObserver(TPlayObserver* Observer);
