// LoadBMP: decodes a Windows BMP image (8, 16, 24 or 32 bits per pixel, uncompressed or for 8 bits RLE8,
// bottom-up) straight into level 0 of a texture, converting each pixel to the texture's format.
#pragma once
#include <cstdint>
#include <iosfwd>

class TDGTexture;

// Sizes of the BMP headers as this decoder reads them.
constexpr uint32_t kBMPFileHeaderSize = 14;
constexpr uint32_t kBMPInfoHeaderSize = 40;
constexpr uint16_t kBMPSignature = 19778;  // "BM"

// The fields of the 14-byte file header and the 40-byte information header that the game reads.
struct TBMPHeaders {
  uint16_t Signature = 0;
  uint32_t FileSize = 0;
  uint32_t PixelOffset = 0;
  uint32_t InfoSize = 0;
  uint32_t Width = 0;  // read unsigned: only bottom-up images (positive height) are supported
  uint32_t Height = 0;
  uint16_t Planes = 0;
  uint16_t BitCount = 0;
  uint32_t Compression = 0;
};

// Reads the file header (14 bytes) into Headers; false when the stream ends first.
bool ReadBMPFileHeader(std::istream& Stream, TBMPHeaders& Headers);
// Reads the information header (40 bytes) into Headers; false when the stream ends first.
bool ReadBMPInfoHeader(std::istream& Stream, TBMPHeaders& Headers);

// Decodes the image that starts at the stream's position into the texture, which its caller has
// sized to the image; the image's top-left lands in the level's top-left. Throws Exception only
// when the texture has no Direct3D texture; every other failure is logged and ends decoding early,
// keeping the rows already written.
void LoadBMP(TDGTexture& Texture, std::istream& Stream);
