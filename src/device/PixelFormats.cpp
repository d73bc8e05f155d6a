#include "PixelFormats.h"

namespace {

// Field of `Bits` bits at `Shift`, widened to 8 bits.
inline uint32_t Widen(uint32_t Pixel, int Shift, int Bits) {
  return ScaleComponent((Pixel >> Shift) & ((1u << Bits) - 1u), Bits);
}

inline uint32_t MakeARGB(uint32_t A, uint32_t R, uint32_t G, uint32_t B) {
  return (A << 24) | (R << 16) | (G << 8) | B;
}

}  // namespace

int32_t FormatBitCount(D3DFORMAT Format) { return static_cast<int32_t>(D3DFormatBitsPerPixel(Format)); }

std::string FormatName(D3DFORMAT Format) {
  switch (Format) {
    case D3DFMT_R8G8B8: return "R8G8B8";
    case D3DFMT_A8R8G8B8: return "A8R8G8B8";
    case D3DFMT_X8R8G8B8: return "X8R8G8B8";
    case D3DFMT_R5G6B5: return "R5G6B5";
    case D3DFMT_X1R5G5B5: return "X1R5G5B5";
    case D3DFMT_A1R5G5B5: return "A1R5G5B5";
    case D3DFMT_A4R4G4B4: return "A4R4G4B4";
    case D3DFMT_R3G3B2: return "R3G3B2";
    case D3DFMT_A8: return "A8";
    case D3DFMT_A8R3G3B2: return "A8R3G3B2";
    case D3DFMT_X4R4G4B4: return "X4R4G4B4";
    case D3DFMT_A8P8: return "A8P8";
    case D3DFMT_P8: return "P8";
    case D3DFMT_L8: return "L8";
    case D3DFMT_A8L8: return "A8L8";
    case D3DFMT_A4L4: return "A4L4";
    case D3DFMT_V8U8: return "V8U8";
    case D3DFMT_L6V5U5: return "L6V5U5";
    case D3DFMT_X8L8V8U8: return "X8L8V8U8";
    case D3DFMT_Q8W8V8U8: return "Q8W8V8U8";
    case D3DFMT_V16U16: return "V16U16";
    case D3DFMT_D16_LOCKABLE: return "D16_LOCKABLE";
    case D3DFMT_D32: return "D32";
    case D3DFMT_D15S1: return "D15S1";
    case D3DFMT_D24S8: return "D24S8";
    case D3DFMT_D24X8: return "D24X8";
    case D3DFMT_D24X4S4: return "D24X4S4";
    case D3DFMT_D16: return "D16";
    case D3DFMT_VERTEXDATA: return "VERTEXDATA";
    case D3DFMT_INDEX16: return "INDEX16";
    case D3DFMT_INDEX32: return "INDEX32";
    case D3DFMT_DXT1: return "DXT1";
    case D3DFMT_DXT2: return "DXT2";
    case D3DFMT_DXT3: return "DXT3";
    case D3DFMT_DXT4: return "DXT4";
    case D3DFMT_DXT5: return "DXT5";
    case D3DFMT_YUY2: return "YUY2";
    case D3DFMT_UYVY: return "UYVY";
    default: return "UNKNOWN";
  }
}

uint32_t ARGBToPixel(uint32_t ARGB, D3DFORMAT Format) {
  switch (Format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_Q8W8V8U8: return ARGB;
    case D3DFMT_X8R8G8B8:
    case D3DFMT_X8L8V8U8: return ARGB & 0x00FFFFFFu;
    default:
      return ComponentsToPixel(uint8_t(ARGB >> 24), uint8_t(ARGB >> 16), uint8_t(ARGB >> 8), uint8_t(ARGB), Format);
  }
}

uint32_t ComponentsToPixel(uint8_t A, uint8_t R, uint8_t G, uint8_t B, D3DFORMAT Format) {
  const uint32_t a = A, r = R, g = G, b = B;
  switch (Format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_Q8W8V8U8: return MakeARGB(a, r, g, b);
    case D3DFMT_R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_X8L8V8U8: return MakeARGB(0, r, g, b);
    case D3DFMT_R5G6B5: return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case D3DFMT_X1R5G5B5: return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case D3DFMT_A1R5G5B5: return ((a >> 7) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case D3DFMT_A4R4G4B4: return ((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4);
    case D3DFMT_X4R4G4B4: return ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4);
    case D3DFMT_R3G3B2: return ((r >> 5) << 5) | ((g >> 5) << 2) | (b >> 6);
    case D3DFMT_A8R3G3B2: return (a << 8) | ((r >> 5) << 5) | ((g >> 5) << 2) | (b >> 6);
    case D3DFMT_A8: return a;
    case D3DFMT_L8: return r;
    case D3DFMT_A8L8: return (a << 8) | r;
    case D3DFMT_A4L4: return ((a >> 4) << 4) | (r >> 4);
    case D3DFMT_V8U8: return (g << 8) | b;
    case D3DFMT_L6V5U5: return ((r >> 2) << 10) | ((g >> 3) << 5) | (b >> 3);
    case D3DFMT_V16U16: return (g << 24) | (b << 8);
    default: return 0;
  }
}

uint32_t PixelToARGB(uint32_t Pixel, D3DFORMAT Format) {
  const uint32_t p = Pixel;
  switch (Format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_X8R8G8B8: return p | 0xFF000000u;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_V8U8:
    case D3DFMT_X8L8V8U8:
    case D3DFMT_Q8W8V8U8: return p;
    case D3DFMT_R5G6B5: return MakeARGB(255, Widen(p, 11, 5), Widen(p, 5, 6), Widen(p, 0, 5));
    case D3DFMT_X1R5G5B5: return MakeARGB(255, Widen(p, 10, 5), Widen(p, 5, 5), Widen(p, 0, 5));
    case D3DFMT_A1R5G5B5: return MakeARGB((p & 0x8000u) ? 255 : 0, Widen(p, 10, 5), Widen(p, 5, 5), Widen(p, 0, 5));
    case D3DFMT_A4R4G4B4: return MakeARGB(Widen(p, 12, 4), Widen(p, 8, 4), Widen(p, 4, 4), Widen(p, 0, 4));
    case D3DFMT_X4R4G4B4: return MakeARGB(255, Widen(p, 8, 4), Widen(p, 4, 4), Widen(p, 0, 4));
    case D3DFMT_R3G3B2: return MakeARGB(255, Widen(p, 5, 3), Widen(p, 2, 3), Widen(p, 0, 2));
    case D3DFMT_A8R3G3B2: return MakeARGB((p >> 8) & 0xFFu, Widen(p, 5, 3), Widen(p, 2, 3), Widen(p, 0, 2));
    case D3DFMT_A8: return MakeARGB(p & 0xFFu, 0, 0, 0);
    case D3DFMT_L8: return MakeARGB(0, p & 0xFFu, 0, 0);
    case D3DFMT_A8L8: return MakeARGB((p >> 8) & 0xFFu, p & 0xFFu, 0, 0);
    case D3DFMT_A4L4: return MakeARGB(Widen(p, 4, 4), Widen(p, 0, 4), 0, 0);
    case D3DFMT_L6V5U5:
      // Shifted, not scaled: the signed bump fields keep their raw magnitude.
      return MakeARGB(0, ((p >> 10) & 63u) << 2, ((p >> 5) & 31u) << 3, (p & 31u) << 3);
    case D3DFMT_V16U16:
      // The inverse of the packing: V's high byte is green, U's high byte is blue.
      return MakeARGB(0, 0, (p >> 24) & 0xFFu, (p >> 8) & 0xFFu);
    default: return 0;
  }
}

uint32_t ScaleComponent(uint32_t Value, int32_t Bits) {
  if (Bits <= 0 || Bits > 32) return 0;
  const uint64_t maximum = (uint64_t(1) << Bits) - 1u;
  return static_cast<uint32_t>(uint64_t(Value) * 255u / maximum);
}
