// What a skin's sound may cost, checked from the file's header before anything is decoded: SDL_mixer decodes
// an effect whole and converts it to the device's rate, so a small file declaring an hour of sound, or a rate
// of 1 Hz, would otherwise cost gigabytes and minutes. Only WAV and Ogg Vorbis are accepted (SDL_mixer would
// guess other formats from the content, whatever the file's name). The numbers are in docs/skins.md.
#pragma once
#include <cstdint>
#include <string>

// Sample rates accepted for effects and music: every rate in common use lies between them.
inline constexpr uint32_t kSoundMinRate = 4000;
inline constexpr uint32_t kSoundMaxRate = 192000;
// Channels accepted: SDL converts at most eight (7.1); more makes its converter divide by zero.
inline constexpr uint32_t kSoundMaxChannels = 8;
// One effect: ten seconds (the bundled effects last at most two) and 16 MiB, both of its data in the file and
// decoded at the device's rate; all effects of a skin together: 64 MiB decoded.
inline constexpr uint64_t kEffectMaxMilliseconds = 10000;
inline constexpr uint64_t kEffectMaxBytes = uint64_t{16} << 20;
inline constexpr uint64_t kEffectsMaxBytes = uint64_t{64} << 20;

struct TSoundHeader {
  bool Vorbis = false;  // else WAV
  uint32_t Rate = 0;
  uint32_t Channels = 0;
  uint64_t Frames = 0;     // sample frames the file holds (for Ogg, its last page's granule position)
  uint64_t DataBytes = 0;  // the bytes of sound data in the file
};

// Reads the header of a WAV or Ogg Vorbis file (a UTF-8 path); false with the reason in Error.
bool ReadSoundHeader(const std::string& Path, TSoundHeader& Header, std::string& Error);

// Whether the sound may be played as music (streamed): its rate and channels are accepted. False with the reason
// in Error.
bool MusicWithinBudget(const TSoundHeader& Header, std::string& Error);

// Whether the sound may be decoded as an effect for a device of DeviceRate frames a second of
// DeviceFrameBytes bytes each, with Spent bytes already decoded for the skin's other effects; Decoded is
// what it will cost. False with the reason in Error.
bool EffectWithinBudget(const TSoundHeader& Header, uint32_t DeviceRate, uint32_t DeviceFrameBytes, uint64_t Spent,
                        uint64_t& Decoded, std::string& Error);
