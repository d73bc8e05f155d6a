#include "HeadlessWindow.h"
#include <cstring>
#include "Exception.h"
#include "PngWriter.h"

void THeadlessPresenter::PresentFrame(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) {
  if (Width <= 0 || Height <= 0) return;
  frame_.resize(size_t(Width) * Height);  // keeps its storage from frame to frame
  for (int32_t y = 0; y < Height; ++y)
    std::memcpy(frame_.data() + size_t(y) * Width, reinterpret_cast<const uint8_t*>(Pixels) + size_t(y) * PitchBytes,
                size_t(Width) * 4);
  width_ = Width;
  height_ = Height;
  ++frameCount_;
}

void THeadlessPresenter::SavePng(const std::filesystem::path& File) const {
  if (frame_.empty()) throw Exception("no frame has been presented yet: " + File.string());
  WritePng(File, frame_.data(), width_, height_, width_ * 4);
}

THeadlessWindow::THeadlessWindow(int32_t ClientWidth, int32_t ClientHeight, int32_t FrameWidth, int32_t FrameHeight,
                                 int32_t Left, int32_t Top)
    : clientWidth_(ClientWidth),
      clientHeight_(ClientHeight),
      frameWidth_(FrameWidth),
      frameHeight_(FrameHeight),
      left_(Left),
      top_(Top) {}

void THeadlessWindow::SetWindowPos(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
  left_ = Left;
  top_ = Top;
  clientWidth_ = Width - frameWidth_ > 0 ? Width - frameWidth_ : 0;
  clientHeight_ = Height - frameHeight_ > 0 ? Height - frameHeight_ : 0;
  shown_ = true;
}
