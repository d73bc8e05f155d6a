// libFuzzer target: key scripts (replays and recordings) with their seed and skin lines, from arbitrary bytes.
// Every input is read or refused with std::runtime_error whose message holds no control byte; a script that
// reads is played through the scripted key source, and recorded again it reads back to the same skin, seed and
// keys.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>

#include "FuzzReplay.h"
#include "KeyRecorder.h"
#include "KeyScript.h"

namespace {
const TFuzzMarking kMarking;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(Data), Size));
  TKeyScript script;
  try {
    script = ReadKeyScript(in);
  } catch (const std::runtime_error& e) {
    for (const char* c = e.what(); *c != 0; ++c) {
      if (static_cast<unsigned char>(*c) < 0x20 || *c == 0x7F) __builtin_trap();
    }
    return 0;
  }
  FuzzInputReached();
  // Played frame by frame, then recorded as the game records what it plays.
  TScriptedKeySource keys(script.Lines);
  std::ostringstream recording;
  {
    TKeyRecorder recorder(keys, recording, script.Seed.value_or(1), script.Skin);
    const uint32_t last = script.Lines.empty() ? 0 : std::min<uint32_t>(script.Lines.back().Frame, 2000);
    for (uint32_t frame = 0; frame <= last + 1; ++frame) {
      keys.SetFrame(frame);
      recorder.BeginFrame();
    }
  }
  std::istringstream back(recording.str());
  const TKeyScript again = ReadKeyScript(back);
  if (again.Skin != script.Skin || again.Seed != script.Seed.value_or(1)) __builtin_trap();
  TScriptedKeySource replayed(again.Lines);
  for (uint32_t frame = 0; frame <= 2000 && !script.Lines.empty() && frame <= script.Lines.back().Frame; ++frame) {
    keys.SetFrame(frame);
    replayed.SetFrame(frame);
    for (int key = 13; key <= 162; ++key) {
      if (keys.IsKeyDown(static_cast<uint8_t>(key)) != replayed.IsKeyDown(static_cast<uint8_t>(key))) __builtin_trap();
    }
  }
  return 0;
}
