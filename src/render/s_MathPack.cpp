#include "s_MathPack.h"

#include <cmath>

namespace {

struct TAngleTables {
  float Sin[kAngleSteps];
  float Cos[kAngleSteps];
};

const TAngleTables& Tables() {
  // Function-local: built on first use, whichever start-up initialiser comes first.
  static const TAngleTables kTables = [] {
    TAngleTables t;
    constexpr long double kPi = 3.141592653589793238462643383279502884L;
    for (int32_t i = 0; i < kAngleSteps; ++i) {
      const long double a = static_cast<long double>(static_cast<float>(i) / 2048.0f) * kPi;
      t.Sin[i] = static_cast<float>(sinl(a));
      t.Cos[i] = static_cast<float>(cosl(a));
    }
    return t;
  }();
  return kTables;
}

// Fills the tables at program start, before the main window exists.
[[maybe_unused]] const bool kTablesBuiltAtStartUp = (Tables(), true);

}  // namespace

const float* TAngleTable::Data() const { return kind_ == TKind::Sine ? Tables().Sin : Tables().Cos; }

TVector2 Vector2(float X, float Y) { return TVector2{X, Y}; }

float Sqr(float X) { return X * X; }

float Vec2Length(TVector2 V) {
  const long double sum = static_cast<long double>(Sqr(V.X)) + Sqr(V.Y);
  return static_cast<float>(sqrtl(sum));
}

TVector2 Vec2Normalize(TVector2 V) {
  const float length = Vec2Length(V);
  if (length == 0.0f) return TVector2{0.0f, 0.0f};
  return TVector2{static_cast<float>(static_cast<long double>(V.X) / length),
                  static_cast<float>(static_cast<long double>(V.Y) / length)};
}

TVector2 Vec2Rotate(TVector2 V, int32_t Angle) {
  const uint32_t i = static_cast<uint32_t>(Angle) & kAngleMask;
  const long double x = V.X, y = V.Y;
  const long double c = Tables().Cos[i], s = Tables().Sin[i];
  return TVector2{static_cast<float>(x * c - y * s), static_cast<float>(x * s + y * c)};
}
