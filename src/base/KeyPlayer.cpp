#include "KeyPlayer.h"

#include "GameKeys.h"

TKeyPlayer::TKeyPlayer(TKeySource& Live, std::vector<TKeyScriptLine> Lines, std::function<void()> OnEscape)
    : live_(Live), lines_(std::move(Lines)), onEscape_(std::move(OnEscape)) {}

void TKeyPlayer::BeginFrame() {
  live_.BeginFrame();
  if (onEscape_ && live_.IsApplicationActive() && live_.IsKeyDown(VK_ESCAPE)) onEscape_();
  bool apply = false;
  while (next_ < lines_.size() && lines_[next_].Frame <= frame_) {
    apply = true;
    ++next_;
  }
  if (apply) {
    down_.fill(false);
    for (uint8_t key : lines_[next_ - 1].Keys) down_[key] = true;
    active_ = !lines_[next_ - 1].Away;
  }
  ++frame_;
}
