#include "TextFont.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "TextEncoding.h"

int32_t MulDiv(int32_t A, int32_t B, int32_t C) {
  if (C == 0) return 0;
  const int64_t product = int64_t(A) * int64_t(B);
  const int64_t magnitude = (std::llabs(product) + std::llabs(int64_t(C)) / 2) / std::llabs(int64_t(C));
  const int64_t result = ((product < 0) != (C < 0)) ? -magnitude : magnitude;
  return static_cast<int32_t>(
      std::clamp<int64_t>(result, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// The default font of a Japanese desktop: ＭＳ Ｐゴシック at 9 points.
TFont::TFont() : Name(Jp("ＭＳ Ｐゴシック")) { SetSize(9); }
