// Two-component vectors and the angle unit of 1/4096 turn with its sine and cosine tables.
// Angles never go through the trigonometric functions at run time; only the tables do, once.
#pragma once
#include <cstddef>
#include <cstdint>

struct TVector2 {
  float X;
  float Y;
};

// Angles count 1/4096 of a full turn: 1024 is a quarter turn, 2048 a half turn.
constexpr int32_t kAngleSteps = 4096;
constexpr int32_t kAngleMask = kAngleSteps - 1;

// SinTable[i] = sin(i * pi / 2048), CosTable[i] = cos(i * pi / 2048), in single precision.
// The tables are built on first use (at the latest by this unit's start-up initialiser), so they are
// valid even inside other start-up initialisers; they never change afterwards.
class TAngleTable {
 public:
  enum class TKind { Sine, Cosine };
  constexpr explicit TAngleTable(TKind Kind) : kind_(Kind) {}

  const float& operator[](std::size_t Index) const { return Data()[Index]; }
  const float* Data() const;
  static constexpr std::size_t Size() { return kAngleSteps; }

 private:
  TKind kind_;
};

inline constexpr TAngleTable SinTable{TAngleTable::TKind::Sine};
inline constexpr TAngleTable CosTable{TAngleTable::TKind::Cosine};

// The vector (X, Y).
TVector2 Vector2(float X, float Y);
// x * x rounded to single.
float Sqr(float X);
// sqrt(Sqr(X) + Sqr(Y)), formed in extended precision and rounded once.
float Vec2Length(TVector2 V);
// V / Vec2Length(V); (0, 0) when the length is exactly 0.
TVector2 Vec2Normalize(TVector2 V);
// v rotated by Angle (1/4096 turn; wraps with `and 4095`, so -340 is 3756): counter-clockwise with y up,
// clockwise on the screen where y grows downwards.
TVector2 Vec2Rotate(TVector2 V, int32_t Angle);
