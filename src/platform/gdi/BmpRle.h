// Run-length compressed BMP pixel data (BI_RLE8 and BI_RLE4), as paint programs save 256- and 16-colour
// pictures. Decoding is bounded by the picture: a run, an absolute block or a delta that reaches past it,
// or data that ends before the end-of-picture mark, is refused, never followed.
#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

// The BMP compression codes of the two forms.
constexpr uint32_t kBMPCompressionRLE8 = 1;
constexpr uint32_t kBMPCompressionRLE4 = 2;

// Receives one decoded palette index at column X of row Y, rows counted from the bottom row as the data
// stores them. Pixels the data skips (with a delta or an early end of line) are not handed out.
using TRlePixelSink = std::function<void(uint32_t X, uint32_t Y, uint8_t Index)>;

// Decodes Data (starting at the first code) for a picture of Width x Height pixels with 8 (RLE8) or 4 (RLE4)
// bits per index. False when the data is damaged in one of the ways above; the pixels before the damage
// have been handed out by then.
bool DecodeBmpRle(std::string_view Data, int BitsPerIndex, uint32_t Width, uint32_t Height, const TRlePixelSink& Put);
