#include "PlayerShip.h"

#include <algorithm>

#include "Field.h"
#include "GraphicDefs.h"
#include "Laser.h"
#include "Shots.h"
#include "SoundSink.h"

namespace {

constexpr int32_t kEnterX = 0;
constexpr int32_t kEnterY = 300;
constexpr uint32_t kEnterForwardEnd = 60;  // frames after the start: x + 3 per update
constexpr uint32_t kEnterBackEnd = 100;    // then x - 1 per update up to here
constexpr int32_t kEnterForwardStep = 3;
constexpr int32_t kEnterBackStep = 1;

constexpr int32_t kMuzzleOffset = 10;
constexpr int32_t kShotSpeed = 12;
constexpr int32_t kAngledShotAngle = 340;
constexpr uint32_t kShotInterval = 12;
constexpr uint32_t kLaserInterval = 24;

}  // namespace

TEmu::TEmu(int32_t X, int32_t Y, TGraphicDef* Graphic, TGraphicDef* OptionGraphic, TGraphicDef* ShotGraphic,
           TGraphicDef* LaserGraphic, TGraphicDef* AngledShotGraphic, TKeyStates* Keys, TLinkedList* ShotList)
    : TMovable(X, Y, Graphic),
      Keys(Keys),
      ShotList(ShotList),
      ShotGraphic(ShotGraphic),
      LaserGraphic(LaserGraphic),
      AngledShotGraphic(AngledShotGraphic) {
  Speed = kStartSpeed;
  History.fill(THistoryEntry{X, Y});
  for (int32_t i = 0; i < kOptionMax; ++i) {
    Options[i] = std::make_unique<TOption>(X, Y, OptionGraphic, this);
    Options[i]->Number = i;
  }
  // The bounds keep the ship's hit area inside the field.
  if (Graphic) {
    const TRect& hit = Graphic->HitArea;
    MinX = -hit.Left;
    MinY = -hit.Top;
    MaxX = kFieldWidth - hit.Right;
    MaxY = kFieldHeight - hit.Bottom;
  }
}

TEmu::~TEmu() = default;

void TEmu::Update(uint32_t Frames) {
  TEvent::Update(Frames);
  if (Entering) {
    // The fly-in moves per update, whatever the frame count; the keys are not read.
    const uint32_t e = Elapsed() - EnterStart;
    if (e <= kEnterForwardEnd) {
      X += kEnterForwardStep;
    } else if (e <= kEnterBackEnd) {
      X -= kEnterBackStep;
    } else {
      Entering = false;
    }
  } else {
    const int32_t f = static_cast<int32_t>(Frames);
    const int32_t dx = (Keys->IsDown(kKeyLeft) ? -f : 0) + (Keys->IsDown(kKeyRight) ? f : 0);
    const int32_t dy = (Keys->IsDown(kKeyUp) ? -f : 0) + (Keys->IsDown(kKeyDown) ? f : 0);
    Move(dx, dy);
    PowerUp();
    Fire();
  }
  for (int32_t i = 0; i < OptionCount; ++i) Options[i]->Update(Frames);
}

void TEmu::Move(int32_t DX, int32_t DY) {
  DX *= Speed;
  DY *= Speed;
  MoveBy(DX, DY);
  const bool moved = DX != 0 || DY != 0;
  if (moved) {
    // Recorded before clamping: options may retrace a step beyond the bounds.
    History[WriteIndex] = THistoryEntry{X, Y};
    ReadIndex = (ReadIndex + 1) % kHistoryLength;
    WriteIndex = (WriteIndex + 1) % kHistoryLength;
  }
  if (X < MinX) {
    X = MinX;
  } else if (X >= MaxX) {
    X = MaxX;
  }
  if (Y < MinY) {
    Y = MinY;
  } else if (Y >= MaxY) {
    Y = MaxY;
  }
  if (moved) {
    for (int32_t i = 0; i < OptionCount; ++i) Options[i]->Follow();
  }
}

bool TEmu::CanApply(uint8_t Position) const {
  switch (Position) {
    case ppSpeed: return Speed < kTopSpeed;
    case ppDouble: return ShotType != stDouble;
    case ppLaser: return ShotType != stLaser;
    case ppOption: return OptionCount < kOptionMax;
    default: return false;  // missile, shield and no selection are never bought
  }
}

void TEmu::PowerUp() {
  if (Energy <= 0 || !Keys->IsPressed(kKeyPowerUp) || !CanApply(Cursor)) return;
  switch (Cursor) {
    case ppSpeed: ++Speed; break;
    case ppDouble: ShotType = stDouble; break;
    case ppLaser: ShotType = stLaser; break;
    case ppOption:
      Options[OptionCount]->SetActive(true);
      ++OptionCount;
      break;
    default: break;
  }
  Cursor = kCursorNone;
  GameSound().PlayEffect(sePowerUpBought);
}

uint32_t TEmu::VolleyInterval() const { return ShotType == stLaser ? kLaserInterval : kShotInterval; }

void TEmu::Fire() {
  if (Energy <= 0 || !Keys->IsDown(kKeyFire)) return;
  if (Elapsed() - LastShot < VolleyInterval()) return;
  LastShot = Elapsed();
  GameSound().PlayEffect(ShotType == stLaser ? seLaser : seShot);

  if (ShotType == stLaser) {
    TRect shipRect;
    GetRect(shipRect);
    ShotList->Add(new TLaser(shipRect.Right, Y, LaserGraphic, this));
    for (int32_t i = 0; i < OptionCount; ++i) {
      TOption* option = Options[i].get();
      ShotList->Add(new TLaser(option->X + kMuzzleOffset, option->Y, LaserGraphic, option));
    }
    return;
  }

  ShotList->Add(TDirShot::Create(X + kMuzzleOffset, Y, ShotGraphic, kShotSpeed).release());
  for (int32_t i = 0; i < OptionCount; ++i) {
    ShotList->Add(TDirShot::Create(Options[i]->X + kMuzzleOffset, Options[i]->Y, ShotGraphic, kShotSpeed).release());
  }
  if (ShotType == stDouble) {
    ShotList->Add(
        TDirShot::CreateAngled(X + kMuzzleOffset, Y, AngledShotGraphic, kAngledShotAngle, kShotSpeed).release());
    for (int32_t i = 0; i < OptionCount; ++i) {
      ShotList->Add(TDirShot::CreateAngled(Options[i]->X + kMuzzleOffset, Options[i]->Y, AngledShotGraphic,
                                           kAngledShotAngle, kShotSpeed)
                        .release());
    }
  }
}

void TEmu::Hit(int32_t Damage) {
  if (Entering || Energy <= 0) return;
  Energy -= Damage;
  if (Energy > 0) return;
  if (Lives > 0) --Lives;
  if (OnDestroyed) OnDestroyed(this);
}

void TEmu::AdvanceCursor() { Cursor = Cursor == ppShield ? uint8_t{ppSpeed} : static_cast<uint8_t>(Cursor + 1); }

void TEmu::Restart() {
  if (Lives <= 0) return;
  Energy = kEnergyPerLife;
  Cursor = kCursorNone;
  Speed = kStartSpeed;
  ShotType = stNormal;
  for (int32_t i = 0; i < OptionCount; ++i) Options[i]->SetActive(false);
  OptionCount = 0;
  Enter();
}

void TEmu::ApplyPower(int32_t ASpeed, uint8_t AShotType, int32_t AOptions) {
  Speed = std::clamp(ASpeed, kStartSpeed, kTopSpeed);
  ShotType = AShotType <= stLaser ? AShotType : uint8_t{stNormal};
  const int32_t options = std::clamp(AOptions, 0, kOptionMax);
  while (OptionCount < options) Options[OptionCount++]->SetActive(true);
}

void TEmu::Enter() {
  Entering = true;
  EnterStart = Elapsed();
  MoveTo(kEnterX, kEnterY);
}

void TEmu::Draw(TSXScene* Scene) {
  TVisible::Draw(Scene);
  for (int32_t i = 0; i < OptionCount; ++i) Options[i]->Draw(Scene);
}
