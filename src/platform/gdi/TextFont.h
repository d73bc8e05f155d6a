// The font object of the text writer's drawing context, after the toolkit's font: a face name in CP932,
// a height in logical units and a style set. Name, height and style together identify a font.
#pragma once
#include <cstdint>
#include <string>

// Style bits (a set of bold, italic, underline, strike-out), stored as one byte.
using TFontStyles = uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

// Logical pixels per inch of the drawing context; point sizes are converted with it.
constexpr int32_t kFontPixelsPerInch = 96;

// a * b / c rounded half away from zero, as the platform's MulDiv (0 when c is 0).
int32_t MulDiv(int32_t A, int32_t B, int32_t C);

class TFont {
 public:
  // Face name in CP932, e.g. "ＭＳ ゴシック" as Jp("ＭＳ ゴシック").
  std::string Name;
  // Negative: the em height in pixels (what a point size gives); positive: the cell height
  // (ascent + descent) in pixels; 0: the platform's default size.
  int32_t Height;
  TFontStyles Style = 0;

  TFont();

  // Size in points at kFontPixelsPerInch: Height = -MulDiv(Size, 96, 72).
  int32_t Size() const { return -MulDiv(Height, 72, kFontPixelsPerInch); }
  void SetSize(int32_t Points) { Height = -MulDiv(Points, kFontPixelsPerInch, 72); }
};
