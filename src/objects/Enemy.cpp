#include "Enemy.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "GameMath.h"
#include "StageDefs.h"

namespace {
// Straight and zigzag enemies are gone once this far out on the left.
constexpr int32_t kLeftExit = -100;
constexpr long double kZigzagAmplitude = 30.0L;
// One wave per 540 pixels: x / 1.5 read as degrees.
constexpr long double kZigzagRadiansPerPixel = std::numbers::pi_v<long double> / 180.0L / 1.5L;
// Positions and path distances stop here rather than wrap: an enemy flying away for hours (a negative speed
// never reaches the left exit) stays representable, with room left for its sprite's size in the hit tests.
constexpr int64_t kTravelLimit = int64_t{1} << 30;

int32_t Travel(int32_t From, int64_t By) {
  return static_cast<int32_t>(std::clamp(From + By, -kTravelLimit, kTravelLimit));
}
}  // namespace

TEnemy::TEnemy(TEnemyDef* Def) : TMovable(Def->X, Def->Y, Def->Graphic), Def(Def), HP(Def->HP) { Speed = Def->Speed; }

void TEnemy::Update(uint32_t Frames) {
  TEvent::Update(Frames);
  const int64_t d = int64_t{Frames} * Speed;
  const uint8_t code = Def->Motion;
  if (const TMotionPath* path = MotionPath(code)) {
    FollowPath(*path, d);
    return;
  }
  // Straight, the zigzags, and any unknown code, which flies straight rather than sitting on the field for ever.
  if (code == mtZigzag1) {
    MoveZigzag(d, 1.0);
  } else if (code == mtZigzag2) {
    MoveZigzag(d, -1.0);
  } else {
    X = Travel(X, -d);
  }
  if (X <= kLeftExit) HP = 0;
}

void TEnemy::MoveZigzag(int64_t D, double Sign) {
  X = Travel(X, -D);
  // The offset truncated towards zero, as its exact value would be. Where that is a whole number (0, 15 or 30
  // pixels: a sine of 0, 1/2 or 1) the computed sine falls a hair to one side or the other, and to which side
  // depends on the processor (long double is 80 bits on x86-64, 128 on Arm): within a billionth, the whole
  // number it is. Every other offset lies at least 1/500 pixel from a whole number (the wave repeats every 540
  // pixels).
  const long double offset = Sign * std::sin(X * kZigzagRadiansPerPixel) * kZigzagAmplitude;
  const long double whole = std::nearbyint(offset);
  Y = Def->Y + static_cast<int32_t>(std::fabs(offset - whole) < 1e-9L ? whole : std::trunc(offset));
}

void TEnemy::FollowPath(const TMotionPath& Path, int64_t D) {
  Distance = Travel(Distance, D);
  int32_t t = Distance;
  for (int32_t i = 0; i < Path.Segments; ++i) {
    const TPoint& p = Path.Points[i];
    const TPoint& q = Path.Points[i + 1];
    const int32_t l = PointDistance(p, q);
    if (l >= t) {
      const double a = PointAngle(p, q);
      X = RoundOff(std::cos(a) * t + p.X);
      Y = RoundOff(std::sin(a) * t + p.Y);
      return;
    }
    t -= l;
  }
  // Used up: the position stays for this update.
  if (Path.Repeat) {
    Distance = 0;
  } else {
    HP = 0;
  }
}

bool TEnemy::IsFinished() const { return HP <= 0; }

void TEnemy::Damage(int32_t Amount) {
  if (HP <= 0) return;
  HP -= Amount;
  HitsTaken += Amount;
  if (HP > 0) return;
  Destroyed = true;
  if (OnDestroyed) OnDestroyed(this);
}

bool TEnemy::HasItem() const { return Def->Item != ikNone; }
uint8_t TEnemy::Item() const { return Def->Item; }
uint8_t TEnemy::Motion() const { return Def->Motion; }
bool TEnemy::IsStageClear() const { return Def->StageClear; }
int32_t TEnemy::GroupIndex() const { return Def->Group; }
