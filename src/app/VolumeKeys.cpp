#include "VolumeKeys.h"

#include "SkinSound.h"

bool TVolumeKeys::IsKeyDown(uint8_t VirtualKey) const {
  const bool down = keys_.IsKeyDown(VirtualKey);
  if (VirtualKey < KeyMute || VirtualKey > KeyUp) return down;
  bool& was = down_[VirtualKey - KeyMute];
  if (down && !was) {
    if (VirtualKey == KeyMute) {
      sound_.SetMuted(!sound_.Muted());
    } else {
      sound_.SetVolume(sound_.Volume() + (VirtualKey == KeyUp ? kStep : -kStep));
    }
  }
  was = down;
  return down;
}
