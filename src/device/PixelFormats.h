// Direct3D pixel formats: bits per pixel, display names, and packing colours into and out of pixels.
// ARGB is a 32-bit value with alpha in bits 24-31, red 16-23, green 8-15, blue 0-7.
#pragma once
#include <cstdint>
#include <string>

#include "d3d9types.h"

// Bits per pixel of a format; 0 for formats this program does not know.
int32_t FormatBitCount(D3DFORMAT Format);
// The format's name without the D3DFMT_ prefix ("A8R8G8B8", "DXT1"); "UNKNOWN" for other codes.
std::string FormatName(D3DFORMAT Format);

// Packs an ARGB colour into a pixel of Format (in the low bits); 0 for formats without packing.
uint32_t ARGBToPixel(uint32_t ARGB, D3DFORMAT Format);
// The same packing from separate 8-bit components.
uint32_t ComponentsToPixel(uint8_t A, uint8_t R, uint8_t G, uint8_t B, D3DFORMAT Format);
// Unpacks a pixel of Format to ARGB, widening each field to 8 bits; 0 for formats without unpacking.
uint32_t PixelToARGB(uint32_t Pixel, D3DFORMAT Format);
// Widens a field of `Bits` bits to 0..255: Value * 255 / (2^Bits - 1). 0 when Bits is 0 or above 32.
uint32_t ScaleComponent(uint32_t Value, int32_t Bits);

// A pixel of `Bytes` bytes (0 to 4) as it lies in texture memory, low byte first.
inline uint32_t ReadPixelBytes(const uint8_t* Source, int32_t Bytes) {
  uint32_t pixel = 0;
  for (int32_t b = 0; b < Bytes; ++b) pixel |= uint32_t(Source[b]) << (8 * b);
  return pixel;
}
inline void WritePixelBytes(uint8_t* Destination, uint32_t Pixel, int32_t Bytes) {
  for (int32_t b = 0; b < Bytes; ++b) Destination[b] = uint8_t(Pixel >> (8 * b));
}
