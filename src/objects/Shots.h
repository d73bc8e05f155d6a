// Projectiles: the common base and the straight-flying shot of the ship and the enemies.
#pragma once
#include <cstdint>
#include <memory>

#include "Visible.h"

// Base of every projectile; adds no movement of its own.
class TShot : public TMovable {
 public:
  TShot(int32_t X, int32_t Y, TGraphicDef* Graphic);
};

// A shot on a straight line with a fixed direction, accumulated in single precision.
class TDirShot : public TShot {
 public:
  float DirX = 1.0f;
  float DirY = 0.0f;
  float PosX;
  float PosY;

  // Straight to the right.
  static std::unique_ptr<TDirShot> Create(int32_t X, int32_t Y, TGraphicDef* Graphic, int32_t Speed);
  // Towards Target's position at the moment of firing; a target on the spot gives a shot that never moves.
  static std::unique_ptr<TDirShot> CreateAimed(int32_t X, int32_t Y, TGraphicDef* Graphic, const TVisible* Target,
                                               int32_t Speed);
  // Turned upwards on the screen by Angle (1/4096 turn), through the angle tables.
  static std::unique_ptr<TDirShot> CreateAngled(int32_t X, int32_t Y, TGraphicDef* Graphic, int32_t Angle,
                                                int32_t Speed);

  void Update(uint32_t Frames) override;
  bool IsFinished() const override;

 private:
  TDirShot(int32_t X, int32_t Y, TGraphicDef* Graphic, float DirX, float DirY, int32_t Speed);
};
