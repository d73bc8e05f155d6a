#include "EnemyFlight.h"

#include "Enemy.h"
#include "Field.h"
#include "StageDefs.h"
#include "UMotions.h"

namespace {

bool OnField(const TEnemy& Enemy) {
  TRect r;
  Enemy.GetRect(r);
  return r.Left < kFieldWidth && r.Right > 0 && r.Top < kFieldHeight && r.Bottom > 0;
}

}  // namespace

TEnemyFlight FlyEnemy(const TEnemyDef& Def) {
  // The enemy only reads its definition.
  TEnemy enemy(const_cast<TEnemyDef*>(&Def));
  const TMotionPath* path = MotionPath(Def.Motion);
  const bool loops = path != nullptr && path->Repeat;
  TEnemyFlight flight;
  for (int32_t frame = 0; frame < kFlightHorizon; ++frame) {
    enemy.Update(1);
    if (frame == 0) {
      flight.FirstX = enemy.X;
      flight.FirstY = enemy.Y;
    }
    // An enemy is dropped in the frame it finishes, before it can be hit.
    if (enemy.IsFinished()) {
      flight.GoneAt = frame;
      break;
    }
    if (OnField(enemy)) {
      if (flight.FirstOnField < 0) flight.FirstOnField = frame;
      ++flight.FramesOnField;
    }
    // A looping path has shown its whole course once it starts over.
    if (loops && enemy.Distance == 0 && frame > 0) break;
  }
  return flight;
}

const TEnemyFlight& TFlightCache::Of(const TEnemyDef& Def) {
  const TKey key{Def.Motion, Def.X, Def.Y, Def.Speed, Def.Graphic};
  auto found = flights_.find(key);
  if (found == flights_.end()) found = flights_.emplace(key, FlyEnemy(Def)).first;
  return found->second;
}
