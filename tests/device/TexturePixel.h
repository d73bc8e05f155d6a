// Reads back one pixel of a texture the way the game's own code reads pixels: through a read-only
// lock of level 0.
#pragma once
#include <cstdint>

#include "DGTexture.h"
#include "PixelFormats.h"

// The pixel value at (x, y) in the texture's format (low bytes); 0 when nothing could be locked.
inline uint32_t TexturePixel(TDGTexture& texture, int32_t x, int32_t y) {
  const D3DLOCKED_RECT lock = texture.LockRect(0, MakeRect(x, y, x + 1, y + 1), D3DLOCK_READONLY);
  const uint32_t pixel =
      lock.pBits != nullptr ? ReadPixelBytes(static_cast<const uint8_t*>(lock.pBits), texture.BytesPerPixel()) : 0;
  texture.UnlockRect();
  return pixel;
}
