#include "Laser.h"

#include "Field.h"

#include <algorithm>

namespace {
constexpr int32_t kLaserSpeed = 30;
constexpr int32_t kLongestBeam = 400;
constexpr int32_t kHalfBeamHeight = 3;
}  // namespace

TLaser::TLaser(int32_t X, int32_t Y, TGraphicDef* Graphic, TVisible* Owner)
    : TShot(X, Y, Graphic), Owner(Owner), MaxLength(std::min(kFieldWidth - X, kLongestBeam)) {
  Speed = kLaserSpeed;
  OnTop = true;
  OwnSize = true;
}

void TLaser::Update(uint32_t Frames) {
  TEvent::Update(Frames);
  int32_t d = static_cast<int32_t>(Frames) * Speed;
  if (Growing) {
    Length += d;
    d = 0;
    if (Length > MaxLength) {
      // The beam keeps its overshoot and its left end jumps forward by it.
      d = Length - MaxLength;
      Growing = false;
    }
  }
  if (Growing) {
    TRect ownerRect;
    Owner->GetRect(ownerRect);
    X = ownerRect.Right;
  } else {
    X += d;
  }
  Y = Owner->Y;
}

bool TLaser::IsFinished() const { return X > kFieldWidth; }

int32_t TLaser::Width() const { return Length; }

int32_t TLaser::Height() const { return TVisible::Height(); }

void TLaser::GetRect(TRect& Rect) const {
  Rect.Left = X;
  Rect.Top = Y - kHalfBeamHeight;
  Rect.Right = X + Length;
  Rect.Bottom = Y + kHalfBeamHeight;
}
