// The window's state lines for tests: with MORVANTH_STATE_FILE set, the game writes after every frame the same
// JSON line as the headless runner's --state, so a test driving the real window under load follows the game's
// own frame count and scene instead of the clock or the picture. Unset, none of this exists.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "FrameObserver.h"

class TStateStream : public TFrameObserver {
 public:
  static constexpr const char* kVariable = "MORVANTH_STATE_FILE";

  // Target is "fd:N" (a descriptor the caller opened; left open) or a file name (created or emptied). Raises
  // std::runtime_error naming the target when it cannot be written.
  explicit TStateStream(const std::string& Target);
  ~TStateStream() override;
  TStateStream(const TStateStream&) = delete;
  TStateStream& operator=(const TStateStream&) = delete;

  // One line per call, in one write, so a reader never sees two lines mixed. A failed write is reported once on
  // standard error and ends the stream; the game plays on.
  void FrameDone(uint32_t Frame, const TCustomScene* Scene, const TOptionsScreen* Options) override;

  // Fields added to every line (DescribeSceneState's extra); none: nothing added.
  std::function<std::string()> ExtraFields;

 private:
  std::string target_;
  int fd_ = -1;
  bool owned_ = false;
};
