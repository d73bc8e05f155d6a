// An owner window without a screen: for the headless runner, tests and benchmarks.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>
#include "Presenter.h"
#include "WindowHost.h"

// Keeps a copy of the last frame presented and never waits: frames run as fast as they are made.
class THeadlessPresenter : public TPresenter {
 public:
  void PresentFrame(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t PitchBytes) override;

  uint32_t FrameCount() const { return frameCount_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Width x Height ARGB8888 pixels, rows packed; empty before the first frame.
  const std::vector<uint32_t>& LastFrame() const { return frame_; }
  uint32_t Pixel(int32_t X, int32_t Y) const { return frame_[static_cast<size_t>(Y) * width_ + X]; }
  // Writes the last frame as an opaque RGB PNG; throws Exception when no frame exists or the file fails.
  void SavePng(const std::filesystem::path& File) const;

 private:
  std::vector<uint32_t> frame_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint32_t frameCount_ = 0;
};

// A window of a given client size and frame thickness at a given place; resizing only records the new geometry.
class THeadlessWindow : public TWindowHost {
 public:
  THeadlessWindow(int32_t ClientWidth, int32_t ClientHeight, int32_t FrameWidth = 0, int32_t FrameHeight = 0,
                  int32_t Left = 0, int32_t Top = 0);

  int32_t ClientWidth() const override { return clientWidth_; }
  int32_t ClientHeight() const override { return clientHeight_; }
  int32_t WindowWidth() const override { return clientWidth_ + frameWidth_; }
  int32_t WindowHeight() const override { return clientHeight_ + frameHeight_; }
  int32_t Left() const override { return left_; }
  int32_t Top() const override { return top_; }
  void SetWindowPos(int32_t Left, int32_t Top, int32_t Width, int32_t Height) override;
  TPresenter& Presenter() override { return capture_; }

  THeadlessPresenter& Capture() { return capture_; }
  const THeadlessPresenter& Capture() const { return capture_; }
  bool Shown() const { return shown_; }

 private:
  int32_t clientWidth_, clientHeight_, frameWidth_, frameHeight_, left_, top_;
  bool shown_ = false;
  THeadlessPresenter capture_;
};
