#include "HeadlessWindow.h"
#include <cstring>
#include "Exception.h"
#include "PngWriter.h"

void THeadlessPresenter::PresentFrame(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) {
  if (Width <= 0 || Height <= 0) return;
  Frame_.resize(size_t(Width) * Height);  // keeps its storage from frame to frame
  for (int32_t Y = 0; Y < Height; ++Y)
    std::memcpy(Frame_.data() + size_t(Y) * Width,
                reinterpret_cast<const uint8_t*>(Pixels) + size_t(Y) * PitchBytes, size_t(Width) * 4);
  Width_ = Width;
  Height_ = Height;
  ++FrameCount_;
}

void THeadlessPresenter::SavePng(const std::filesystem::path& File) const {
  if (Frame_.empty()) throw Exception("no frame has been presented yet: " + File.string());
  WritePng(File, Frame_.data(), Width_, Height_, Width_ * 4);
}

THeadlessWindow::THeadlessWindow(int32_t ClientWidth, int32_t ClientHeight, int32_t FrameWidth, int32_t FrameHeight,
                                 int32_t Left, int32_t Top)
    : ClientWidth_(ClientWidth), ClientHeight_(ClientHeight), FrameWidth_(FrameWidth), FrameHeight_(FrameHeight),
      Left_(Left), Top_(Top) {}

void THeadlessWindow::SetWindowPos(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
  Left_ = Left;
  Top_ = Top;
  ClientWidth_ = Width - FrameWidth_ > 0 ? Width - FrameWidth_ : 0;
  ClientHeight_ = Height - FrameHeight_ > 0 ? Height - FrameHeight_ : 0;
  Shown_ = true;
}
