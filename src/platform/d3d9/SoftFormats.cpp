#include "SoftFormats.h"

namespace {

// Widens an n-bit field to 8 bits by repeating its bits from the top down, as Direct3D hardware reads narrow
// formats: 0 stays 0, the largest value becomes 255, and 5-bit 16 becomes 132.
constexpr uint32_t Widen(uint32_t Value, uint32_t Bits) {
  uint32_t wide = 0;
  for (int shift = 8 - int(Bits); shift > -int(Bits); shift -= int(Bits))
    wide |= shift >= 0 ? Value << shift : Value >> -shift;
  return wide;
}

constexpr uint32_t Argb(uint32_t A, uint32_t R, uint32_t G, uint32_t B) { return (A << 24) | (R << 16) | (G << 8) | B; }

uint32_t Read16(const uint8_t* P) { return uint32_t(P[0]) | (uint32_t(P[1]) << 8); }
uint32_t Read32(const uint8_t* P) {
  return uint32_t(P[0]) | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24);
}

uint32_t Decode(D3DFORMAT Format, const uint8_t* P) {
  switch (Format) {
    case D3DFMT_R8G8B8: return Argb(255, P[2], P[1], P[0]);
    case D3DFMT_A8R8G8B8: return Read32(P);
    case D3DFMT_X8R8G8B8: return Read32(P) | 0xFF000000u;
    case D3DFMT_R5G6B5: {
      uint32_t v = Read16(P);
      return Argb(255, Widen(v >> 11, 5), Widen((v >> 5) & 63, 6), Widen(v & 31, 5));
    }
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: {
      uint32_t v = Read16(P);
      uint32_t a = (Format == D3DFMT_X1R5G5B5 || (v & 0x8000)) ? 255 : 0;
      return Argb(a, Widen((v >> 10) & 31, 5), Widen((v >> 5) & 31, 5), Widen(v & 31, 5));
    }
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: {
      uint32_t v = Read16(P);
      uint32_t a = Format == D3DFMT_X4R4G4B4 ? 255 : Widen(v >> 12, 4);
      return Argb(a, Widen((v >> 8) & 15, 4), Widen((v >> 4) & 15, 4), Widen(v & 15, 4));
    }
    case D3DFMT_R3G3B2: {
      uint32_t v = P[0];
      return Argb(255, Widen(v >> 5, 3), Widen((v >> 2) & 7, 3), Widen(v & 3, 2));
    }
    case D3DFMT_A8R3G3B2: {
      uint32_t v = Read16(P);
      return Argb(v >> 8, Widen((v >> 5) & 7, 3), Widen((v >> 2) & 7, 3), Widen(v & 3, 2));
    }
    case D3DFMT_A8: return Argb(P[0], 0, 0, 0);
    case D3DFMT_L8: return Argb(255, P[0], P[0], P[0]);
    case D3DFMT_A8L8: return Argb(P[1], P[0], P[0], P[0]);
    case D3DFMT_A4L4: {
      uint32_t l = Widen(P[0] & 15, 4);
      return Argb(Widen(P[0] >> 4, 4), l, l, l);
    }
    // Bump-map formats have no colour meaning; their fields are read as the game's pixel routines place them
    // (V as green, U as blue, L as red).
    case D3DFMT_V8U8: return Argb(255, 0, P[1], P[0]);
    case D3DFMT_L6V5U5: {
      uint32_t v = Read16(P);
      return Argb(255, (v >> 10) << 2, ((v >> 5) & 31) << 3, (v & 31) << 3);
    }
    case D3DFMT_X8L8V8U8: return Read32(P) | 0xFF000000u;
    case D3DFMT_Q8W8V8U8: return Read32(P);
    case D3DFMT_V16U16: return Argb(255, 0, P[3], P[1]);
    default: return 0;
  }
}

}  // namespace

uint32_t SoftFormatBits(D3DFORMAT Format) { return D3DFormatBitsPerPixel(Format); }

bool SoftTextureFormatSupported(D3DFORMAT Format) {
  switch (Format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_R3G3B2:
    case D3DFMT_A8:
    case D3DFMT_A8R3G3B2:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_L8:
    case D3DFMT_A8L8:
    case D3DFMT_A4L4:
    case D3DFMT_V8U8:
    case D3DFMT_L6V5U5:
    case D3DFMT_X8L8V8U8:
    case D3DFMT_Q8W8V8U8:
    case D3DFMT_V16U16: return true;
    default: return false;
  }
}

uint32_t SoftFormatPitch(D3DFORMAT Format, uint32_t Width) { return (Width * (SoftFormatBits(Format) / 8) + 3) & ~3u; }

void SoftDecodeRow(D3DFORMAT Format, const uint8_t* Source, uint32_t* Target, uint32_t Count) {
  uint32_t bytes = SoftFormatBits(Format) / 8;
  if (Format == D3DFMT_A8R8G8B8) {
    for (uint32_t i = 0; i < Count; ++i) Target[i] = Read32(Source + 4 * i);
    return;
  }
  for (uint32_t i = 0; i < Count; ++i) Target[i] = Decode(Format, Source + bytes * i);
}
