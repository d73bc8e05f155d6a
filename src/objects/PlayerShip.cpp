#include "PlayerShip.h"

#include <algorithm>

#include "Field.h"
#include "GraphicDefs.h"
#include "Laser.h"
#include "Shots.h"
#include "SoundSink.h"

namespace {

constexpr int32_t EnterX = 0;
constexpr int32_t EnterY = 300;
constexpr uint32_t EnterForwardEnd = 60;  // frames after the start: x + 3 per update
constexpr uint32_t EnterBackEnd = 100;    // then x - 1 per update up to here
constexpr int32_t EnterForwardStep = 3;
constexpr int32_t EnterBackStep = 1;

constexpr int32_t MuzzleOffset = 10;
constexpr int32_t ShotSpeed = 12;
constexpr int32_t AngledShotAngle = 340;
constexpr uint32_t ShotInterval = 12;
constexpr uint32_t LaserInterval = 24;

}  // namespace

TEmu::TEmu(int32_t X, int32_t Y, TGraphicDef* Graphic, TGraphicDef* OptionGraphic, TGraphicDef* ShotGraphic,
           TGraphicDef* LaserGraphic, TGraphicDef* AngledShotGraphic, TKeyStates* Keys, TLinkedList* ShotList)
    : TMovable(X, Y, Graphic),
      Keys(Keys),
      ShotList(ShotList),
      ShotGraphic(ShotGraphic),
      LaserGraphic(LaserGraphic),
      AngledShotGraphic(AngledShotGraphic) {
  Speed = StartSpeed;
  History.fill(THistoryEntry{X, Y});
  for (int32_t i = 0; i < OptionMax; ++i) {
    Options[i] = std::make_unique<TOption>(X, Y, OptionGraphic, this);
    Options[i]->Number = i;
  }
  // The bounds keep the ship's hit area inside the field.
  if (Graphic) {
    const TRect& Hit = Graphic->HitArea;
    MinX = -Hit.Left;
    MinY = -Hit.Top;
    MaxX = kFieldWidth - Hit.Right;
    MaxY = kFieldHeight - Hit.Bottom;
  }
}

TEmu::~TEmu() = default;

void TEmu::Update(uint32_t Frames) {
  TEvent::Update(Frames);
  if (Entering) {
    // The fly-in moves per update, whatever the frame count; the keys are not read.
    const uint32_t E = Elapsed() - EnterStart;
    if (E <= EnterForwardEnd) {
      X += EnterForwardStep;
    } else if (E <= EnterBackEnd) {
      X -= EnterBackStep;
    } else {
      Entering = false;
    }
  } else {
    const int32_t F = static_cast<int32_t>(Frames);
    const int32_t DX = (Keys->IsDown(KeyLeft) ? -F : 0) + (Keys->IsDown(KeyRight) ? F : 0);
    const int32_t DY = (Keys->IsDown(KeyUp) ? -F : 0) + (Keys->IsDown(KeyDown) ? F : 0);
    Move(DX, DY);
    PowerUp();
    Fire();
  }
  for (int32_t i = 0; i < OptionCount; ++i) Options[i]->Update(Frames);
}

void TEmu::Move(int32_t DX, int32_t DY) {
  DX *= Speed;
  DY *= Speed;
  MoveBy(DX, DY);
  const bool Moved = DX != 0 || DY != 0;
  if (Moved) {
    // Recorded before clamping: options may retrace a step beyond the bounds.
    History[WriteIndex] = THistoryEntry{X, Y};
    ReadIndex = (ReadIndex + 1) % HistoryLength;
    WriteIndex = (WriteIndex + 1) % HistoryLength;
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
  if (Moved) {
    for (int32_t i = 0; i < OptionCount; ++i) Options[i]->Follow();
  }
}

bool TEmu::CanApply(uint8_t Position) const {
  switch (Position) {
    case ppSpeed: return Speed < TopSpeed;
    case ppDouble: return ShotType != stDouble;
    case ppLaser: return ShotType != stLaser;
    case ppOption: return OptionCount < OptionMax;
    default: return false;  // missile, shield and no selection are never bought
  }
}

void TEmu::PowerUp() {
  if (Energy <= 0 || !Keys->IsPressed(KeyPowerUp) || !CanApply(Cursor)) return;
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
  Cursor = CursorNone;
  GameSound().PlayEffect(sePowerUpBought);
}

uint32_t TEmu::VolleyInterval() const { return ShotType == stLaser ? LaserInterval : ShotInterval; }

void TEmu::Fire() {
  if (Energy <= 0 || !Keys->IsDown(KeyFire)) return;
  if (Elapsed() - LastShot < VolleyInterval()) return;
  LastShot = Elapsed();
  GameSound().PlayEffect(ShotType == stLaser ? seLaser : seShot);

  if (ShotType == stLaser) {
    TRect ShipRect;
    GetRect(ShipRect);
    ShotList->Add(new TLaser(ShipRect.Right, Y, LaserGraphic, this));
    for (int32_t i = 0; i < OptionCount; ++i) {
      TOption* Option = Options[i].get();
      ShotList->Add(new TLaser(Option->X + MuzzleOffset, Option->Y, LaserGraphic, Option));
    }
    return;
  }

  ShotList->Add(TDirShot::Create(X + MuzzleOffset, Y, ShotGraphic, ShotSpeed).release());
  for (int32_t i = 0; i < OptionCount; ++i) {
    ShotList->Add(TDirShot::Create(Options[i]->X + MuzzleOffset, Options[i]->Y, ShotGraphic, ShotSpeed).release());
  }
  if (ShotType == stDouble) {
    ShotList->Add(TDirShot::CreateAngled(X + MuzzleOffset, Y, AngledShotGraphic, AngledShotAngle, ShotSpeed).release());
    for (int32_t i = 0; i < OptionCount; ++i) {
      ShotList->Add(TDirShot::CreateAngled(Options[i]->X + MuzzleOffset, Options[i]->Y, AngledShotGraphic,
                                           AngledShotAngle, ShotSpeed)
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
  Energy = EnergyPerLife;
  Cursor = CursorNone;
  Speed = StartSpeed;
  ShotType = stNormal;
  for (int32_t i = 0; i < OptionCount; ++i) Options[i]->SetActive(false);
  OptionCount = 0;
  Enter();
}

void TEmu::ApplyPower(int32_t ASpeed, uint8_t AShotType, int32_t AOptions) {
  Speed = std::clamp(ASpeed, StartSpeed, TopSpeed);
  ShotType = AShotType <= stLaser ? AShotType : uint8_t{stNormal};
  const int32_t options = std::clamp(AOptions, 0, OptionMax);
  while (OptionCount < options) Options[OptionCount++]->SetActive(true);
}

void TEmu::Enter() {
  Entering = true;
  EnterStart = Elapsed();
  MoveTo(EnterX, EnterY);
}

void TEmu::Draw(TSXScene* Scene) {
  TVisible::Draw(Scene);
  for (int32_t i = 0; i < OptionCount; ++i) Options[i]->Draw(Scene);
}
