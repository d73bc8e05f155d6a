#include "Laser.h"

#include "Field.h"

#include <algorithm>

namespace {
constexpr int32_t LaserSpeed = 30;
constexpr int32_t LongestBeam = 400;
constexpr int32_t HalfBeamHeight = 3;
}  // namespace

TLaser::TLaser(int32_t X, int32_t Y, TGraphicDef* Graphic, TVisible* Owner)
    : TShot(X, Y, Graphic), Owner(Owner), MaxLength(std::min(kFieldWidth - X, LongestBeam)) {
  Speed = LaserSpeed;
  OnTop = true;
  OwnSize = true;
}

void TLaser::Update(uint32_t Frames) {
  TEvent::Update(Frames);
  int32_t D = static_cast<int32_t>(Frames) * Speed;
  if (Growing) {
    Length += D;
    D = 0;
    if (Length > MaxLength) {
      // The beam keeps its overshoot and its left end jumps forward by it.
      D = Length - MaxLength;
      Growing = false;
    }
  }
  if (Growing) {
    TRect OwnerRect;
    Owner->GetRect(OwnerRect);
    X = OwnerRect.Right;
  } else {
    X += D;
  }
  Y = Owner->Y;
}

bool TLaser::IsFinished() const { return X > kFieldWidth; }

int32_t TLaser::Width() const { return Length; }

int32_t TLaser::Height() const { return TVisible::Height(); }

void TLaser::GetRect(TRect& Rect) const {
  Rect.Left = X;
  Rect.Top = Y - HalfBeamHeight;
  Rect.Right = X + Length;
  Rect.Bottom = Y + HalfBeamHeight;
}
