// The title logo as line strokes: block-letter outlines spelling "MORVANTH" inside a 199 x 30 bitmap.
#pragma once
#include <cstdint>
#include <span>

// One point of a stroke; the segment from this point to the next is drawn with pen width W.
struct TLogoPoint {
  int32_t X, Y, W;
};

// A closed outline (its last point repeats the first). All-instant strokes (the inner counters) appear whole
// as soon as the drawing reaches them; in the others only the diagonal segments do.
struct TLogoStroke {
  std::span<const TLogoPoint> Points;
  bool AllInstant;
};

inline constexpr int32_t kLogoWidth = 199;
inline constexpr int32_t kLogoHeight = 30;

// Letter outlines left to right, each followed by its counters; the first outline starts at (0, 0).
std::span<const TLogoStroke> LogoStrokes();
