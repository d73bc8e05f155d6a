// The player's ship: steering, fly-in, power-ups, volleys and the four options that trail it.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "Field.h"
#include "GameKeys.h"
#include "KeyStates.h"
#include "PlayerOption.h"
#include "Visible.h"

enum TShotType : uint8_t { stNormal = 0, stDouble = 1, stLaser = 2 };

// Power-up meter positions; kCursorNone means nothing is selected.
enum TPowerUpPosition : uint8_t {
  ppSpeed = 0,
  ppMissile = 1,
  ppDouble = 2,
  ppLaser = 3,
  ppOption = 4,
  ppShield = 5,
};
constexpr uint8_t kCursorNone = 255;

class TEmu : public TMovable {
 public:
  struct THistoryEntry {
    int32_t X;
    int32_t Y;
  };

  static constexpr int32_t kHistoryLength = 64;
  static constexpr int32_t kHistoryLead = 10;    // WriteIndex - ReadIndex
  static constexpr int32_t kOptionSpacing = 10;  // history entries per option Number
  static constexpr int32_t kOptionMax = 4;
  static constexpr int32_t kStartSpeed = 4;
  static constexpr int32_t kTopSpeed = 9;
  static constexpr int32_t kStartLives = 3;
  static constexpr int32_t kEnergyPerLife = 1;

  // Virtual-key codes the ship reads.
  static constexpr uint8_t kKeyLeft = VK_LEFT, kKeyUp = VK_UP, kKeyRight = VK_RIGHT, kKeyDown = VK_DOWN,
                           kKeyFire = VK_Z, kKeyPowerUp = VK_C;

  std::array<THistoryEntry, kHistoryLength> History;
  uint32_t LastShot = 0;
  int32_t ReadIndex = 0;
  int32_t WriteIndex = kHistoryLead;
  uint8_t Cursor = kCursorNone;
  uint8_t ShotType = stNormal;
  std::array<std::unique_ptr<TOption>, kOptionMax> Options;
  int32_t OptionCount = 0;
  int32_t Energy = kEnergyPerLife;
  int32_t Lives = kStartLives;
  int32_t MinX = 0, MinY = 0, MaxX = kFieldWidth, MaxY = kFieldHeight;
  TKeyStates* Keys;
  TLinkedList* ShotList;
  TGraphicDef* ShotGraphic;
  TGraphicDef* LaserGraphic;
  TGraphicDef* AngledShotGraphic;
  bool Entering = false;
  uint32_t EnterStart = 0;
  TNotifyEvent OnDestroyed;

  TEmu(int32_t X, int32_t Y, TGraphicDef* Graphic, TGraphicDef* OptionGraphic, TGraphicDef* ShotGraphic,
       TGraphicDef* LaserGraphic, TGraphicDef* AngledShotGraphic, TKeyStates* Keys, TLinkedList* ShotList);
  ~TEmu() override;

  void Update(uint32_t Frames) override;
  void Draw(TSXScene* Scene) override;

  // One enemy or bullet touching the ship; ignored during the fly-in and once the ship is lost.
  void Hit(int32_t Damage);
  // The next meter position after a collected capsule: speed first, shield wraps to speed.
  void AdvanceCursor();
  // Back into play after a lost ship, with every power-up gone; nothing once the stock is empty.
  void Restart();
  // Starts the fly-in from the left edge.
  void Enter();
  // Gives the ship a speed, a shot type and its first AOptions options at once, as if bought (a game started
  // part-way through); values beyond the meter's range are held within it.
  void ApplyPower(int32_t ASpeed, uint8_t AShotType, int32_t AOptions);
  // Whether the meter position at Position can be bought now.
  bool CanApply(uint8_t Position) const;

 private:
  void Move(int32_t DX, int32_t DY);
  void PowerUp();
  void Fire();
  uint32_t VolleyInterval() const;
};
