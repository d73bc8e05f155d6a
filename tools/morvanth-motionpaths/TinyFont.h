// A 5 x 7 pixel font (9 rows high with the descenders) for the diagram captions: lower-case letters, digits and a
// little punctuation.
#pragma once
#include <array>
#include <cstdint>

constexpr int32_t kGlyphWidth = 5;
constexpr int32_t kGlyphHeight = 7;
constexpr int32_t kGlyphAdvance = 6;

// Seven rows of five pixels, '#' set; nullptr for a character the font does not have.
const std::array<const char*, kGlyphHeight>* TinyGlyph(char C);
// Letters with a descender (g, p, q, y) are drawn kDescent rows lower than the others.
constexpr int32_t kDescent = 2;
bool TinyGlyphDescends(char C);
