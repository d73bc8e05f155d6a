// libFuzzer target: the settings file as the game reads it, from arbitrary bytes. Every input either loads or
// is refused with a reason; what loaded, saved and read again, gives the same lines and the same values.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "FuzzReplay.h"
#include "SettingsFile.h"
#include "data/DataTestSupport.h"

namespace {
const TFuzzMarking kMarking;

const datatest::TTempDir& Folder() {
  static const datatest::TTempDir kFolder;
  return kFolder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string path = Folder().Dir() + "settings.ini", again = Folder().Dir() + "again.ini";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    if (!out.flush()) std::abort();
  }
  TSettingsFile settings;
  std::string error;
  if (!settings.Load(path, error)) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  FuzzInputReached();
  for (const char* key : {"scale", "volume", "muted", "fullscreen", "skin", "smooth"}) {
    settings.Get(key);
    settings.GetBool(key, false);
    settings.GetInt(key, 1, 0, 100);
  }
  settings.SetInt("volume", 55);
  if (!settings.Save(again, error)) return 0;
  TSettingsFile reread;
  if (!reread.Load(again, error) || reread.Lines() != settings.Lines() || reread.GetInt("volume", 0, 0, 100) != 55) {
    __builtin_trap();
  }
  return 0;
}
