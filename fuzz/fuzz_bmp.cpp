// Fuzzes the BMP decoder the way every picture reaches it: a texture on the software device sizes
// itself from the headers of the stream and decodes the image into the format it was given. A small
// image that loaded into an A8R8G8B8 texture must also survive SaveAsBMP and a second load unchanged.
//
// The first byte steers: its low five bits pick the texture format, bits 5 and 6 make the device
// demand power-of-two and square textures (levels larger than the image), and bit 7 decodes straight
// into a texture whose size the next two bytes give (levels smaller than the image). The rest is the
// BMP file (the seeds include RLE8 pictures, which take the decoder's run-length path). Run with the seed
// images:
//   build-fuzz/fuzz/fuzz_bmp -max_total_time=300 build-fuzz/fuzz/corpus_fuzz_bmp fuzz/seeds_bmp
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "BMPLoader.h"
#include "DGTexture.h"
#include "HeadlessWindow.h"
#include "VUDaderDevice.h"
#include "support/D3D9TestHooks.h"

namespace {

// Every format the software device can hold as a texture, so each packing path of the decoder runs.
constexpr D3DFORMAT kFormats[] = {
    D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5, D3DFMT_R8G8B8,   D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5,
    D3DFMT_R3G3B2,   D3DFMT_A8,       D3DFMT_A8R3G3B2, D3DFMT_X4R4G4B4, D3DFMT_L8,       D3DFMT_A8L8,   D3DFMT_A4L4,
    D3DFMT_V8U8,     D3DFMT_L6V5U5,   D3DFMT_X8L8V8U8, D3DFMT_Q8W8V8U8, D3DFMT_V16U16,
};

// One device for the whole run, as in the game; the empty debug options neither log nor halt.
TVUDader& Device() {
  static THeadlessWindow window(800, 600);
  static TVUDader* device = [] {
    auto* created = new TVUDader(&window);
    created->SetDebugOption({});
    created->Loaded();
    return created;
  }();
  return *device;
}

std::vector<uint8_t> Pixels(TDGTexture& Texture) {
  std::vector<uint8_t> pixels;
  const uint32_t rowBytes = Texture.Width() * uint32_t(Texture.BytesPerPixel());
  const D3DLOCKED_RECT lock =
      Texture.LockRect(0, MakeRect(0, 0, int32_t(Texture.Width()), int32_t(Texture.Height())), D3DLOCK_READONLY);
  if (lock.pBits != nullptr) {
    for (uint32_t y = 0; y < Texture.Height(); ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(lock.pBits) + size_t(y) * size_t(lock.Pitch);
      pixels.insert(pixels.end(), row, row + rowBytes);
    }
  }
  Texture.UnlockRect();
  return pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const uint8_t steer = Data[0];
  const D3DFORMAT format = kFormats[(steer & 31) % (sizeof kFormats / sizeof kFormats[0])];
  TVUDader& device = Device();
  D3D9Hooks().Reset();
  D3D9Hooks().ForcePow2 = (steer & 32) != 0;
  D3D9Hooks().ForceSquareOnly = (steer & 64) != 0;

  TDGTexture texture(&device, "", {format}, 0, D3DPOOL_MANAGED, 0);
  texture.FillColor = 0;
  if (steer & 128) {
    if (Size < 3) return 0;
    texture.SetSize(1u + Data[1] % 64u, 1u + Data[2] % 64u);
    std::istringstream stream(std::string(reinterpret_cast<const char*>(Data + 3), Size - 3), std::ios::binary);
    if (texture.Texture() != nullptr) LoadBMP(texture, stream);
    return 0;
  }
  std::istringstream stream(std::string(reinterpret_cast<const char*>(Data + 1), Size - 1), std::ios::binary);
  texture.LoadFromStream(stream);
  if (texture.TextureWidth() < texture.Width() || texture.TextureHeight() < texture.Height()) std::abort();

  if (format != D3DFMT_A8R8G8B8 || texture.Texture() == nullptr || uint64_t(texture.Width()) * texture.Height() > 65536)
    return 0;
  std::stringstream saved(std::ios::in | std::ios::out | std::ios::binary);
  texture.SaveAsBMP(saved);
  saved.seekg(0);
  TDGTexture copy(&device, "", {format}, 0, D3DPOOL_MANAGED, 0);
  copy.FillColor = 0;
  copy.LoadFromStream(saved);
  if (copy.Width() != texture.Width() || copy.Height() != texture.Height()) std::abort();
  if (Pixels(copy) != Pixels(texture)) std::abort();
  return 0;
}
