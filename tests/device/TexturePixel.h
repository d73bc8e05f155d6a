// Reads back one pixel of a texture the way the game's own code reads pixels: through a read-only
// lock of level 0.
#pragma once
#include <cstdint>

#include "DGTexture.h"
#include "PixelFormats.h"

// The pixel value at (X, Y) in the texture's format (low bytes); 0 when nothing could be locked.
inline uint32_t TexturePixel(TDGTexture& Texture, int32_t X, int32_t Y) {
  const D3DLOCKED_RECT lock = Texture.LockRect(0, MakeRect(X, Y, X + 1, Y + 1), D3DLOCK_READONLY);
  const uint32_t pixel =
      lock.pBits != nullptr ? ReadPixelBytes(static_cast<const uint8_t*>(lock.pBits), Texture.BytesPerPixel()) : 0;
  Texture.UnlockRect();
  return pixel;
}
