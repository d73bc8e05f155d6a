#include "Shots.h"

#include <cmath>
#include <limits>

#include "Field.h"
#include "s_MathPack.h"

namespace {

constexpr int32_t kShotSpeed = 12;
// A shot is dropped once it is this far outside the field.
constexpr int32_t kFieldMargin = 50;

// Truncation toward zero; saturates instead of overflowing for a position that ran away.
int32_t TruncToInt(float Value) {
  if (std::isnan(Value)) return 0;
  if (Value >= 2147483647.0f) return std::numeric_limits<int32_t>::max();
  if (Value <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(Value);
}

}  // namespace

TShot::TShot(int32_t X, int32_t Y, TGraphicDef* Graphic) : TMovable(X, Y, Graphic) { Speed = kShotSpeed; }

TDirShot::TDirShot(int32_t X, int32_t Y, TGraphicDef* Graphic, float DirX, float DirY, int32_t Speed)
    : TShot(X, Y, Graphic), DirX(DirX), DirY(DirY), PosX(static_cast<float>(X)), PosY(static_cast<float>(Y)) {
  this->Speed = Speed;
}

std::unique_ptr<TDirShot> TDirShot::Create(int32_t X, int32_t Y, TGraphicDef* Graphic, int32_t Speed) {
  return std::unique_ptr<TDirShot>(new TDirShot(X, Y, Graphic, 1.0f, 0.0f, Speed));
}

std::unique_ptr<TDirShot> TDirShot::CreateAimed(int32_t X, int32_t Y, TGraphicDef* Graphic, const TVisible* Target,
                                                int32_t Speed) {
  const TVector2 dir = Vec2Normalize(Vector2(static_cast<float>(Target->X - X), static_cast<float>(Target->Y - Y)));
  return std::unique_ptr<TDirShot>(new TDirShot(X, Y, Graphic, dir.X, dir.Y, Speed));
}

std::unique_ptr<TDirShot> TDirShot::CreateAngled(int32_t X, int32_t Y, TGraphicDef* Graphic, int32_t Angle,
                                                 int32_t Speed) {
  // The tables turn clockwise on the screen (y grows downwards), so the negated angle turns the shot upwards.
  const TVector2 dir = Vec2Rotate(Vector2(1.0f, 0.0f), -Angle);
  return std::unique_ptr<TDirShot>(new TDirShot(X, Y, Graphic, dir.X, dir.Y, Speed));
}

void TDirShot::Update(uint32_t Frames) {
  TEvent::Update(Frames);
  const int32_t d = static_cast<int32_t>(Frames) * Speed;
  // Product and sum are formed wider and rounded once when stored, as single-precision accumulation demands.
  PosX = static_cast<float>(static_cast<double>(PosX) + static_cast<double>(d) * DirX);
  PosY = static_cast<float>(static_cast<double>(PosY) + static_cast<double>(d) * DirY);
  X = TruncToInt(PosX);
  Y = TruncToInt(PosY);
}

bool TDirShot::IsFinished() const {
  return X <= -kFieldMargin || X >= kFieldWidth + kFieldMargin || Y <= -kFieldMargin ||
         Y >= kFieldHeight + kFieldMargin;
}
