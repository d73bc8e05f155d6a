#include "SoundBudget.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace {
uint32_t U16(const unsigned char* P) { return P[0] | P[1] << 8; }
uint32_t U32(const unsigned char* P) { return U16(P) | static_cast<uint32_t>(U16(P + 2)) << 16; }

constexpr uint32_t kPcm = 1, kMsAdpcm = 2, kFloat = 3, kALaw = 6, kMuLaw = 7, kImaAdpcm = 0x11, kExtensible = 0xFFFE;

// The contents of every "fmt " chunk found walking the chunk list to the file's end, either with the pad byte
// after an odd-sized chunk (as RIFF says, and as this reader and SDL's effect loader walk it) or without (as
// SDL_mixer's music reader does). That reader also goes on past the data chunk, and the last format it meets is
// the one it uses. False when the list is too long to walk.
constexpr int kMaxChunks = 1024;
bool FormatChunks(std::ifstream& In, uint64_t FileSize, bool Pad, std::vector<std::string>& Formats) {
  In.clear();
  uint64_t at = 12;
  for (int count = 0; at + 8 <= FileSize; ++count) {
    if (count == kMaxChunks) return false;
    unsigned char chunk[8];
    In.seekg(static_cast<std::streamoff>(at));
    if (!In.read(reinterpret_cast<char*>(chunk), 8)) break;
    const uint32_t size = U32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      std::string format(std::min<uint64_t>(size, 40), '\0');
      In.read(format.data(), static_cast<std::streamsize>(format.size()));
      format.resize(static_cast<size_t>(In.gcount()));
      Formats.push_back(format);
    }
    at += 8 + uint64_t{size} + (Pad ? size & 1 : 0);
  }
  return true;
}

bool ReadWav(std::ifstream& In, uint64_t FileSize, TSoundHeader& Header, std::string& Error) {
  unsigned char chunk[8];
  bool haveFormat = false;
  uint32_t format = 0, blockAlign = 0, samplesPerBlock = 0;
  uint64_t at = 12;
  while (In.read(reinterpret_cast<char*>(chunk), 8)) {
    const uint32_t size = U32(chunk + 4);
    at += 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      unsigned char fmt[40] = {};
      if (size < 16) break;
      In.read(reinterpret_cast<char*>(fmt), std::min<uint32_t>(size, sizeof fmt));
      if (!In) break;
      format = U16(fmt);
      Header.Channels = U16(fmt + 2);
      Header.Rate = U32(fmt + 4);
      blockAlign = U16(fmt + 12);
      if (size >= 20) samplesPerBlock = U16(fmt + 18);
      if (format == kExtensible && size >= 26) format = U16(fmt + 24);
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) break;
      // SDL allocates what the chunk claims before it reads what is there: a claim past the file's end (a cut
      // or forged file) would cost that memory, so it is refused.
      if (size > (FileSize > at ? FileSize - at : 0)) {
        Error = "a WAV file whose data runs past its end";
        return false;
      }
      Header.DataBytes = size;
      if (Header.Channels == 0 || blockAlign == 0) {
        Error = "a WAV file without channels";
        return false;
      }
      switch (format) {
        case kPcm:
        case kFloat:
        case kALaw:
        case kMuLaw: Header.Frames = Header.DataBytes / blockAlign; break;
        case kMsAdpcm:
        case kImaAdpcm:
          // At least one sample frame a block; a block holds at most two frames per byte and channel.
          samplesPerBlock = std::max(samplesPerBlock, 1u);
          samplesPerBlock = std::min(samplesPerBlock, blockAlign * 2 / Header.Channels + 2);
          Header.Frames = (Header.DataBytes / blockAlign + 1) * samplesPerBlock;
          break;
        default: Error = "a WAV encoding that is not accepted (" + std::to_string(format) + ")"; return false;
      }
      // Any other format chunk, wherever a reader finds it, could give SDL a channel count or a rate past the
      // budgets: it must repeat the one read here.
      std::vector<std::string> formats;
      if (!FormatChunks(In, FileSize, true, formats) || !FormatChunks(In, FileSize, false, formats)) {
        Error = "a WAV file of over " + std::to_string(kMaxChunks) + " chunks";
        return false;
      }
      for (const std::string& other : formats) {
        if (other != formats.front()) {
          Error = "a WAV file with more than one format";
          return false;
        }
      }
      return true;
    }
    const uint64_t next = at + size + (size & 1);
    if (next > FileSize) break;
    In.seekg(static_cast<std::streamoff>(next));
    at = next;
  }
  Error = "a WAV file without its format or data";
  return false;
}

bool ReadVorbis(std::ifstream& In, uint64_t FileSize, TSoundHeader& Header, std::string& Error) {
  // The first page holds the identification header alone: 27 bytes of page header, the segment table, then
  // 0x01 "vorbis", the version, the channels and the rate.
  unsigned char page[27 + 255 + 16];
  In.seekg(0);
  In.read(reinterpret_cast<char*>(page), 27);
  const uint32_t segments = In ? page[26] : 0;
  In.read(reinterpret_cast<char*>(page + 27), segments + 16);
  const unsigned char* id = page + 27 + segments;
  if (!In || std::memcmp(id, "\x01vorbis", 7) != 0) {
    Error = "an Ogg file that is not Vorbis";
    return false;
  }
  Header.Vorbis = true;
  Header.Channels = id[11];
  Header.Rate = U32(id + 12);
  Header.DataBytes = FileSize;
  // The length: the granule position of the last page, found in the file's last 64 KiB.
  const uint64_t tail = std::min<uint64_t>(FileSize, 65536);
  std::vector<char> bytes(tail);
  In.seekg(static_cast<std::streamoff>(FileSize - tail));
  In.read(bytes.data(), static_cast<std::streamsize>(tail));
  for (size_t i = tail >= 14 ? tail - 14 : 0; In && i-- > 0;) {
    if (std::memcmp(bytes.data() + i, "OggS", 4) != 0) continue;
    uint64_t granule = 0;
    for (int b = 7; b >= 0; --b) granule = granule << 8 | static_cast<unsigned char>(bytes[i + 6 + b]);
    Header.Frames = granule;
    return true;
  }
  Error = "an Ogg file without a last page";
  return false;
}
}  // namespace

bool ReadSoundHeader(const std::string& Path, TSoundHeader& Header, std::string& Error) {
  Header = TSoundHeader();
  std::ifstream in(Path, std::ios::binary | std::ios::ate);
  if (!in) {
    Error = "cannot open the file";
    return false;
  }
  const uint64_t fileSize = static_cast<uint64_t>(in.tellg());
  in.seekg(0);
  unsigned char magic[12] = {};
  in.read(reinterpret_cast<char*>(magic), sizeof magic);
  if (in && std::memcmp(magic, "RIFF", 4) == 0 && std::memcmp(magic + 8, "WAVE", 4) == 0) {
    if (!ReadWav(in, fileSize, Header, Error)) return false;
  } else if (in && std::memcmp(magic, "OggS", 4) == 0) {
    if (!ReadVorbis(in, fileSize, Header, Error)) return false;
  } else {
    Error = "not a WAV or Ogg Vorbis file";
    return false;
  }
  if (Header.Channels == 0) {
    Error = "a sound without channels";
    return false;
  }
  return true;
}

bool MusicWithinBudget(const TSoundHeader& Header, std::string& Error) {
  if (Header.Rate < kSoundMinRate || Header.Rate > kSoundMaxRate) {
    Error = "sample rate " + std::to_string(Header.Rate) + " Hz is outside " + std::to_string(kSoundMinRate) + " to " +
            std::to_string(kSoundMaxRate) + " Hz";
    return false;
  }
  if (Header.Channels == 0 || Header.Channels > kSoundMaxChannels) {
    Error = std::to_string(Header.Channels) + " channels, not 1 to " + std::to_string(kSoundMaxChannels);
    return false;
  }
  return true;
}

bool EffectWithinBudget(const TSoundHeader& Header, uint32_t DeviceRate, uint32_t DeviceFrameBytes, uint64_t Spent,
                        uint64_t& Decoded, std::string& Error) {
  if (!MusicWithinBudget(Header, Error)) return false;
  // Frames below 2^40 keep every product below in 64 bits; anything longer fails the time limit anyway.
  const uint64_t frames = std::min<uint64_t>(Header.Frames, uint64_t{1} << 40);
  const uint64_t milliseconds = frames * 1000 / Header.Rate;
  if (milliseconds > kEffectMaxMilliseconds) {
    Error = "it lasts " + std::to_string(milliseconds / 1000) + " s, over the " +
            std::to_string(kEffectMaxMilliseconds / 1000) + " s an effect may last";
    return false;
  }
  Decoded = (frames * DeviceRate / Header.Rate + 1) * DeviceFrameBytes;
  if (Header.DataBytes > kEffectMaxBytes || Decoded > kEffectMaxBytes) {
    Error = "it takes " + std::to_string(std::max(Header.DataBytes, Decoded) >> 10) + " KiB, over the " +
            std::to_string(kEffectMaxBytes >> 20) + " MiB an effect may take";
    return false;
  }
  if (Spent + Decoded > kEffectsMaxBytes) {
    Error = "the skin's effects would take over " + std::to_string(kEffectsMaxBytes >> 20) + " MiB";
    return false;
  }
  return true;
}
