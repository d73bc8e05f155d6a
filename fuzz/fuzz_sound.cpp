// libFuzzer target: a skin's sound file through the game's own loader (SDL_mixer on its dummy driver) with the
// budgets: loaded as an effect and played, then streamed as music. Every input is loaded or refused with a
// reason; nothing costs more than its budget allows (the -rss_limit_mb of scripts/fuzz.sh would see it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "FuzzReplay.h"
#include "SdlMixer.h"
#include "data/DataTestSupport.h"

namespace {
const TFuzzMarking kMarking;

struct TFuzzAudio {
  datatest::TTempDir Folder;
  TSdlMixer* Mixer;
  TFuzzAudio() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Mixer = new TSdlMixer;  // left open for the process's life
    if (!Mixer->Ok()) std::abort();
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static TFuzzAudio audio;
  // Both extensions: the mixer goes by the content, the skin's files by their names.
  for (const char* name : {"sound.wav", "sound.ogg"}) {
    const std::string path = audio.Folder.Dir() + name;
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
      if (!out.flush()) std::abort();
    }
    std::string error;
    const int handle = audio.Mixer->LoadEffect(path, error);
    if (handle >= 0) {
      FuzzInputReached();
      audio.Mixer->PlayEffect(handle, 1);
    } else if (error.empty()) {
      __builtin_trap();
    }
    if (audio.Mixer->PlayMusic(path, error)) FuzzInputReached();
    audio.Mixer->StopMusic();
    audio.Mixer->FreeEffects();
  }
  return 0;
}
