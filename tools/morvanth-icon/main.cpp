// morvanth-icon SKIN_DIR SIZE OUT.png [SPRITE_ID]: draws the desktop icon from the skin's own art. The sprite
// (default "ship") is found through the skin's graphicdef.xml and loaded as the game loads it (magenta keyed
// out), then enlarged by the largest whole factor that fits, so its pixels stay crisp, over a night-sky tile.
// A build step, not an installed program: the icons of the install are made with it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DGTexture.h"
#include "Exception.h"
#include "GraphicDefs.h"
#include "HeadlessWindow.h"
#include "PixelFormats.h"
#include "PngWriter.h"
#include "SkinPlace.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"

namespace {

struct TImage {
  int32_t Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;  // ARGB
  uint32_t At(int32_t X, int32_t Y) const { return Pixels[size_t(Y) * Width + X]; }
};

// The sprite's picture as the game holds it, in ARGB.
TImage ReadSprite(TSpriteDef& Sprite) {
  TDGTexture& texture = *Sprite.Texture;
  TImage image;
  image.Width = int32_t(texture.Width());
  image.Height = int32_t(texture.Height());
  const D3DLOCKED_RECT lock = texture.LockRect(0, MakeRect(0, 0, image.Width, image.Height), D3DLOCK_READONLY);
  if (lock.pBits != nullptr) {
    for (int32_t y = 0; y < image.Height; ++y) {
      const uint8_t* source = static_cast<const uint8_t*>(lock.pBits) + ptrdiff_t(y) * lock.Pitch;
      for (int32_t x = 0; x < image.Width; ++x, source += texture.BytesPerPixel()) {
        image.Pixels.push_back(PixelToARGB(ReadPixelBytes(source, texture.BytesPerPixel()), texture.Format()));
      }
    }
  }
  texture.UnlockRect();
  if (lock.pBits == nullptr || image.Pixels.empty()) throw std::runtime_error("the sprite's picture cannot be read");
  return image;
}

uint32_t Blend(uint32_t Under, uint32_t Over, double Alpha) {
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double a = (Under >> shift) & 0xFF, b = (Over >> shift) & 0xFF;
    result |= uint32_t(std::lround(a + (b - a) * Alpha)) << shift;
  }
  return result;
}

// A rounded tile, dark blue fading to black downwards, with a few stars; outside it fully transparent. Corners
// are antialiased by 4 x 4 samples per pixel.
TImage DrawTile(int32_t Size) {
  TImage tile{Size, Size, std::vector<uint32_t>(size_t(Size) * Size, 0)};
  const double margin = Size / 16.0, radius = Size / 5.0;
  const double low = margin + radius, high = Size - margin - radius;
  for (int32_t y = 0; y < Size; ++y) {
    const double t = double(y) / (Size - 1);
    const uint32_t color = Blend(0x1C2E66, 0x05081A, t);
    for (int32_t x = 0; x < Size; ++x) {
      int inside = 0;
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
          const double dx = px < low ? low - px : px > high ? px - high : 0;
          const double dy = py < low ? low - py : py > high ? py - high : 0;
          const bool inBox = px >= margin && px <= Size - margin && py >= margin && py <= Size - margin;
          inside += inBox && dx * dx + dy * dy <= radius * radius;
        }
      }
      tile.Pixels[size_t(y) * Size + x] = (uint32_t(std::lround(inside * 255 / 16.0)) << 24) | color;
    }
  }
  const double stars[][2] = {{0.22, 0.2}, {0.7, 0.16}, {0.84, 0.34}, {0.3, 0.78}, {0.62, 0.84}, {0.16, 0.52}};
  const int32_t dot = std::max(1, Size / 64);
  for (const auto& star : stars) {
    const int32_t sx = int32_t(star[0] * Size), sy = int32_t(star[1] * Size);
    for (int32_t y = sy; y < sy + dot; ++y) {
      for (int32_t x = sx; x < sx + dot; ++x) tile.Pixels[size_t(y) * Size + x] |= 0x00C8D2F0;
    }
  }
  return tile;
}

void DrawIcon(const TImage& Sprite, int32_t Size, const std::filesystem::path& Out) {
  TImage icon = DrawTile(Size);
  const int32_t room = Size * 13 / 16;
  const int32_t scale = std::max(1, std::min(room / Sprite.Width, room / Sprite.Height));
  const int32_t left = (Size - Sprite.Width * scale) / 2, top = (Size - Sprite.Height * scale) / 2;
  for (int32_t y = 0; y < Sprite.Height * scale; ++y) {
    for (int32_t x = 0; x < Sprite.Width * scale; ++x) {
      const int32_t ix = left + x, iy = top + y;
      if (ix < 0 || iy < 0 || ix >= Size || iy >= Size) continue;
      const uint32_t over = Sprite.At(x / scale, y / scale);
      const double alpha = (over >> 24) / 255.0;
      if (alpha == 0) continue;
      uint32_t& under = icon.Pixels[size_t(iy) * Size + ix];
      const uint32_t coverage = std::max(under >> 24, over >> 24);
      under = (coverage << 24) | Blend(under & 0xFFFFFF, over & 0xFFFFFF, alpha);
    }
  }
  WritePng(Out, icon.Pixels.data(), Size, Size, Size * 4, true);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: morvanth-icon SKIN_DIR SIZE OUT.png [SPRITE_ID]\n");
    return 2;
  }
  const std::string id = argc == 5 ? argv[4] : "ship";
  const int size = std::atoi(argv[2]);
  if (size < 16 || size > 1024) {
    std::fprintf(stderr, "morvanth-icon: SIZE must be 16 to 1024\n");
    return 2;
  }
  try {
    const std::filesystem::path skin = std::filesystem::absolute(argv[1]);
    TSkinPlace place;
    place.SkinDir = skin.string() + "/";
    place.SystemSkinDir = (skin.parent_path() / "system").string() + "/";
    THeadlessWindow window(800, 600);
    TVUDader device(&window);
    device.SetDebugOption({});
    device.Loaded();
    device.SetWindowMode(800, 600, {}, 0, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE, 0);
    TGraphicDefList graphics(&device);
    if (!graphics.Load(place)) throw std::runtime_error("no graphic definitions in " + skin.string());
    DrawIcon(ReadSprite(*FindSprite(graphics, id)), size, argv[3]);
  } catch (const Exception& e) {
    std::fprintf(stderr, "morvanth-icon: %s\n", ToUTF8(e.Message()).c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanth-icon: %s\n", e.what());
    return 1;
  }
  return 0;
}
