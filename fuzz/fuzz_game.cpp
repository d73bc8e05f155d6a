// libFuzzer target: the whole game as morvanth-headless runs it (main form, scenes, software device, virtual
// clock, scripted keys) on a small fixture skin with two short stages, fed a random key script for 300
// frames. Byte 0 picks the first scene (its lowest bit: title or game; the ending is reached by clearing both
// stages, since drawing it costs some forty times a frame of play here) and the screen (bit 1: classic, else
// lives, score, high scores and name entry, the tables starting empty), byte 1 the random seed; every further
// byte holds a set of keys for four frames. The skin is valid, so any error box is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Application.h"
#include "FormHost.h"
#include "HeadlessWindow.h"
#include "HighScores.h"
#include "KeyScript.h"
#include "SkinFolders.h"
#include "StartUp.h"
#include "TextEncoding.h"
#include "UMainForm.h"
#include "VirtualClock.h"
#include "scenes/GameSkin.h"

namespace {

constexpr uint32_t kFrames = 300;
constexpr uint32_t kFramesPerByte = 4;

constexpr const char* kStages =
    "<stage title=\"ONE\">"
    "<group frame=\"0\" x=\"700\" speed=\"1\" item=\"powerup\"><enemy frame=\"0\" y=\"100\"/>"
    "<enemy frame=\"10\" y=\"160\"/><enemy frame=\"20\" y=\"220\"/></group>"
    "<enemy frame=\"30\" x=\"700\" y=\"400\" speed=\"2\"/>"
    "<enemy frame=\"60\" x=\"600\" y=\"300\" speed=\"0\" hp=\"1\" stageclear=\"true\"/></stage>"
    "<stage title=\"TWO\"><enemy frame=\"0\" x=\"600\" y=\"300\" speed=\"0\" hp=\"1\" stageclear=\"true\"/></stage>";

// The fixture skin "morv" (the default) and the system skin's map, written once and removed at exit.
struct TFuzzSkin {
  datatest::TTempDir Dir;
  TFuzzSkin() {
    const auto skin = Dir.Path() / "skin";
    datatest::WriteFile(skin / "morv/xml/graphicdef.xml", scenetest::GameGraphicDefs());
    datatest::WriteFile(
        skin / "morv/xml/stagedef.xml",
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<stagedef>") + kStages + "</stagedef>\n");
    datatest::WriteFile(skin / "morv/graphic/sprites.bmp", datatest::MakeSolidBmp(64, 8, 0x80C0FF));
    datatest::WriteFile(skin / "system/graphic/map.bmp", datatest::MakeSolidBmp(16, 16, 0x204060));
    const TStartUpResult found = StartUpSkins(Dir.Dir());
    if (!found.Ok) {
      std::fprintf(stderr, "fuzz_game: fixture skin unusable: %s\n", ToUTF8(found.Message).c_str());
      std::abort();
    }
  }
};

class TFuzzFormHost : public TFormHost {
 public:
  void SetCaption(const std::string&) override {}
  void SetScreenCursor(int) override {}
  int MessageBoxA(const std::string& Text, const std::string&, uint32_t) override {
    std::fprintf(stderr, "fuzz_game: error box: %s\n", ToUTF8(Text).c_str());
    std::abort();
  }
};

// Bits 0-6: left, up, right, down, Z, C, Enter; bit 7: left Ctrl, or Escape when left and right are held too.
std::vector<uint8_t> KeysOf(uint8_t Bits) {
  static constexpr uint8_t kKeys[] = {37, 38, 39, 40, 'Z', 'C', 13};
  std::vector<uint8_t> keys;
  for (int bit = 0; bit < 7; ++bit) {
    if (Bits & (1 << bit)) keys.push_back(kKeys[bit]);
  }
  if (Bits & 0x80) keys.push_back((Bits & 5) == 5 ? 27 : 162);
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static TFuzzSkin skin;
  if (Size < 2) return 0;
  std::vector<TKeyScriptLine> script;
  for (size_t i = 2; i < Size && (i - 2) * kFramesPerByte < kFrames; ++i) {
    script.push_back({static_cast<uint32_t>((i - 2) * kFramesPerByte), KeysOf(Data[i])});
  }

  ScoreBook.Clear();
  ScoreBook.Classic = (Data[0] & 2) != 0;

  TApplication application;
  TFuzzFormHost host;
  THeadlessWindow window(TMainForm::kDesignClientWidth, TMainForm::kDesignClientHeight);
  TVirtualClock clock(1000);
  TScriptedKeySource keys(std::move(script));
  TMainForm form(TMainFormEnvironment{application, host, window, clock, keys, Data[1], SceneClasses,
                                      static_cast<uint8_t>(Data[0] & 1)});
  for (uint32_t frame = 0; frame < kFrames && !application.Terminated(); ++frame) {
    if (!application.OnIdle) break;
    clock.Advance(TMainForm::kFrameMilliseconds);
    keys.SetFrame(frame);
    const TApplication::TIdleEvent idle = application.OnIdle;
    bool done = true;
    idle(done);
  }
  return 0;
}
