#include "VolumeKeys.h"

#include "SkinSound.h"

bool TVolumeKeys::IsKeyDown(uint8_t VirtualKey) const {
  const bool down = keys_.IsKeyDown(VirtualKey);
  if (VirtualKey < kKeyMute || VirtualKey > kKeyUp) return down;
  bool& was = down_[VirtualKey - kKeyMute];
  if (down && !was) {
    if (VirtualKey == kKeyMute) {
      sound_.SetMuted(!sound_.Muted());
    } else {
      sound_.SetVolume(sound_.Volume() + (VirtualKey == kKeyUp ? kStep : -kStep));
    }
  }
  was = down;
  return down;
}
