// A 24-bit raster bitmap in memory (the stand-in for a GDI device-independent bitmap): width, height and
// RGB pixels, read from and written as BMP images, rectangle copies, and a pen for the title logo.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

class TRasterBitmap {
 public:
  TRasterBitmap() = default;
  // A black bitmap of that size (limits as SetSize).
  TRasterBitmap(int32_t Width, int32_t Height);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Resizes to a black picture. Raises Exception beyond 32768 pixels a side or 2^25 pixels in all.
  void SetSize(int32_t Width, int32_t Height);

  // Pixels as 0xRRGGBB; reads outside the bitmap give 0, writes outside are ignored.
  uint32_t Pixel(int32_t X, int32_t Y) const;
  void SetPixel(int32_t X, int32_t Y, uint32_t Rgb);

  // Reads a BMP file (CP932 path) of 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed, with bit fields
  // or run-length compressed (RLE8, RLE4), bottom-up or top-down; palette pictures keep their colours,
  // alpha is dropped. Raises Exception naming the file when it cannot be read or is not such a picture,
  // with "ビットマップが大きすぎます" when it is larger than SetSize allows.
  void LoadFromFile(const std::string& FileName);
  // The same from a BMP image in memory; Name is used in the error message.
  void LoadFromBytes(std::string_view Bytes, const std::string& Name);

  // Copies the rectangle (SrcX, SrcY, Width x Height) of Source to (DstX, DstY), unscaled; parts outside
  // either bitmap are left out.
  void CopyRect(int32_t DstX, int32_t DstY, const TRasterBitmap& Source, int32_t SrcX, int32_t SrcY, int32_t Width,
                int32_t Height);

  // Writes a 24-bit bottom-up BMP image (file header, information header, padded rows).
  void SaveToStream(std::ostream& Out) const;
  std::string SaveToBytes() const;
  void SaveToFile(const std::string& FileName) const;

  // Fills Left..Right-1, Top..Bottom-1 (clipped) with a colour.
  void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, uint32_t Rgb);

  // Pen: a colour and an integer width. LineTo draws from the pen position to (X, Y), the end point
  // itself excluded, and moves the pen there; MoveTo moves without drawing.
  void SetPenColor(uint32_t Rgb) { penColor_ = Rgb & 0xFFFFFF; }
  uint32_t PenColor() const { return penColor_; }
  void SetPenWidth(int32_t Width) { penWidth_ = Width < 1 ? 1 : Width; }
  int32_t PenWidth() const { return penWidth_; }
  void MoveTo(int32_t X, int32_t Y);
  void LineTo(int32_t X, int32_t Y);
  int32_t PenX() const { return penX_; }
  int32_t PenY() const { return penY_; }

 private:
  void Stamp(int32_t X, int32_t Y);

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint32_t> pixels_;  // rows top to bottom, 0xRRGGBB
  uint32_t penColor_ = 0;
  int32_t penWidth_ = 1;
  int32_t penX_ = 0;
  int32_t penY_ = 0;
};
