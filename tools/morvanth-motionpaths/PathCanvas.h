// A small RGB raster for the motion diagrams: lines, dots, arrowheads and caption text.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TPathCanvas {
 public:
  TPathCanvas(int32_t Width, int32_t Height, uint32_t Background);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  void Plot(int32_t X, int32_t Y, uint32_t Rgb);
  void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, uint32_t Rgb);
  void FrameRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, uint32_t Rgb);
  // Both end points included.
  void Line(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1, uint32_t Rgb);
  void Disc(int32_t X, int32_t Y, int32_t Radius, uint32_t Rgb);
  // An arrowhead with its tip at (X, Y) pointing along (DX, DY).
  void Arrowhead(double X, double Y, double DX, double DY, uint32_t Rgb);
  // Text with its top-left corner at (X, Y), each font pixel drawn Scale x Scale.
  void Text(int32_t X, int32_t Y, const std::string& Text, uint32_t Rgb, int32_t Scale = 1);

  void SavePng(const std::filesystem::path& File) const;

 private:
  int32_t width_;
  int32_t height_;
  std::vector<uint32_t> pixels_;  // 0x00RRGGBB, rows top to bottom
};
