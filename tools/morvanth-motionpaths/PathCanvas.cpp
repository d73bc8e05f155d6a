#include "PathCanvas.h"

#include <cmath>
#include <cstdlib>

#include "PngWriter.h"
#include "TinyFont.h"

TPathCanvas::TPathCanvas(int32_t Width, int32_t Height, uint32_t Background)
    : width_(Width), height_(Height), pixels_(static_cast<size_t>(Width) * static_cast<size_t>(Height), Background) {}

void TPathCanvas::Plot(int32_t X, int32_t Y, uint32_t Rgb) {
  if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return;
  pixels_[static_cast<size_t>(Y) * static_cast<size_t>(width_) + static_cast<size_t>(X)] = Rgb;
}

void TPathCanvas::FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, uint32_t Rgb) {
  for (int32_t y = Top; y < Bottom; ++y) {
    for (int32_t x = Left; x < Right; ++x) Plot(x, y, Rgb);
  }
}

void TPathCanvas::FrameRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, uint32_t Rgb) {
  Line(Left, Top, Right - 1, Top, Rgb);
  Line(Left, Bottom - 1, Right - 1, Bottom - 1, Rgb);
  Line(Left, Top, Left, Bottom - 1, Rgb);
  Line(Right - 1, Top, Right - 1, Bottom - 1, Rgb);
}

void TPathCanvas::Line(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1, uint32_t Rgb) {
  const int32_t dx = std::abs(X1 - X0);
  const int32_t dy = -std::abs(Y1 - Y0);
  const int32_t sx = X0 < X1 ? 1 : -1;
  const int32_t sy = Y0 < Y1 ? 1 : -1;
  int32_t error = dx + dy;
  for (;;) {
    Plot(X0, Y0, Rgb);
    if (X0 == X1 && Y0 == Y1) return;
    const int32_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      X0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      Y0 += sy;
    }
  }
}

void TPathCanvas::Disc(int32_t X, int32_t Y, int32_t Radius, uint32_t Rgb) {
  for (int32_t y = -Radius; y <= Radius; ++y) {
    for (int32_t x = -Radius; x <= Radius; ++x) {
      if (x * x + y * y <= Radius * Radius + Radius) Plot(X + x, Y + y, Rgb);
    }
  }
}

void TPathCanvas::Arrowhead(double X, double Y, double DX, double DY, uint32_t Rgb) {
  const double length = std::hypot(DX, DY);
  if (length == 0) return;
  const double ux = DX / length;
  const double uy = DY / length;
  constexpr double kBack = 6.0;
  constexpr double kSide = 3.5;
  const auto tipX = static_cast<int32_t>(std::lround(X));
  const auto tipY = static_cast<int32_t>(std::lround(Y));
  for (int side = -1; side <= 1; side += 2) {
    const double wingX = X - kBack * ux - side * kSide * uy;
    const double wingY = Y - kBack * uy + side * kSide * ux;
    Line(tipX, tipY, static_cast<int32_t>(std::lround(wingX)), static_cast<int32_t>(std::lround(wingY)), Rgb);
  }
}

void TPathCanvas::Text(int32_t X, int32_t Y, const std::string& Text, uint32_t Rgb, int32_t Scale) {
  for (char c : Text) {
    if (const auto* glyph = TinyGlyph(c)) {
      const int32_t top = Y + (TinyGlyphDescends(c) ? kDescent * Scale : 0);
      for (int32_t row = 0; row < kGlyphHeight; ++row) {
        for (int32_t column = 0; column < kGlyphWidth; ++column) {
          if ((*glyph)[static_cast<size_t>(row)][column] != '#') continue;
          FillRect(X + column * Scale, top + row * Scale, X + (column + 1) * Scale, top + (row + 1) * Scale, Rgb);
        }
      }
    }
    X += kGlyphAdvance * Scale;
  }
}

void TPathCanvas::SavePng(const std::filesystem::path& File) const {
  WritePng(File, pixels_.data(), width_, height_, width_ * 4);
}
