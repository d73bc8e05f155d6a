// One enemy on the field: flies its motion code, takes damage and reports its destruction once.
#pragma once
#include <cstdint>

#include "UMotions.h"
#include "Visible.h"

class TEnemyDef;

class TEnemy : public TMovable {
 public:
  TEnemyDef* Def;
  int32_t Distance = 0;
  int32_t HP;
  // Hit points taken, and whether damage (not leaving the field) ended it: what a play report tells.
  int32_t HitsTaken = 0;
  bool Destroyed = false;
  TNotifyEvent OnDestroyed;

  explicit TEnemy(TEnemyDef* Def);

  void Update(uint32_t Frames) override;
  bool IsFinished() const override;
  // Takes Amount hit points; the handler runs once, on the hit that destroys the enemy.
  void Damage(int32_t Amount);

  bool HasItem() const;
  uint8_t Item() const;
  uint8_t Motion() const;
  bool IsStageClear() const;
  int32_t GroupIndex() const;

 private:
  // Places the enemy Distance pixels along Path, worked out from the first point every time.
  void FollowPath(const TMotionPath& Path, int64_t D);
  void MoveZigzag(int64_t D, double Sign);
};
