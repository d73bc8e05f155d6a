#include "AlwaysActiveKeys.h"
#include "KeyPlayer.h"
#include "KeyRecorder.h"
#include "KeyScript.h"
#include "KeyStates.h"

#include "GameKeys.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sstream>
#include <string>
#include <vector>

namespace {

// What the game reads from the key states in one frame.
std::string Seen(const TKeyStates& Keys) {
  std::string seen;
  for (int key = 0; key < 256; ++key) {
    if (Keys.IsDown(uint8_t(key))) seen += (Keys.IsPressed(uint8_t(key)) ? "+" : "=") + std::to_string(key) + " ";
  }
  return seen;
}

struct TLiveFrame {
  std::vector<uint8_t> Down;
  bool Active = true;
};

// Live keys with presses, holds, a key the game never samples (200) and a spell in the background.
const std::vector<TLiveFrame> kLive = {
    {{}, true},
    {{VK_RETURN}, true},
    {{VK_RETURN}, true},
    {{VK_Z, 200}, true},
    {{VK_Z, VK_LEFT}, true},
    {{VK_Z, VK_LEFT}, false},
    {{VK_Z, VK_LEFT}, true},
    {{VK_LCONTROL}, true},
    {{}, true},
    {{}, true},
};

// With the pause on leaving turned off (TAlwaysActiveKeys under the recorder) the spell in the background
// reads as no keys but not as away: the recording holds no AWAY line, and its replay never leaves the window.
TEST(KeyReplay, ReplayShowsTheGameEveryFrameItSawWhileRecording) {
  for (const bool autoPause : {true, false}) {
    SCOPED_TRACE(autoPause ? "pausing when away" : "going on when away");
    std::ostringstream file;
    std::vector<std::string> recorded;
    {
      TScriptedKeySource live;
      TAlwaysActiveKeys source(live, autoPause);
      TKeyRecorder recorder(source, file, 4242, "morv");
      TKeyStates keys(recorder);
      TKeyStates direct(live);
      for (const TLiveFrame& frame : kLive) {
        live.ReleaseAll();
        for (uint8_t key : frame.Down) live.SetKey(key, true);
        live.SetActive(frame.Active);
        keys.Update();
        direct.Update();
        recorded.push_back(Seen(keys));
        EXPECT_EQ(recorded.back(), Seen(direct))
            << "the recorder changes what the game sees, frame " << recorded.size();
        EXPECT_EQ(keys.ApplicationActive(), !autoPause || frame.Active);
      }
    }
    EXPECT_NE(file.str().find(autoPause ? "\n5 AWAY\n6 LEFT Z\n" : "\n5\n6 LEFT Z\n"), std::string::npos) << file.str();
    std::istringstream in(file.str());
    TKeyScript script = ReadKeyScript(in);
    EXPECT_EQ(script.Seed, 4242u);
    EXPECT_EQ(script.Skin, "morv");

    TScriptedKeySource live;
    TKeyPlayer player(live, std::move(script.Lines), nullptr);
    TKeyStates keys(player);
    for (size_t frame = 0; frame < kLive.size(); ++frame) {
      keys.Update();
      EXPECT_EQ(Seen(keys), recorded[frame]) << "frame " << frame;
      EXPECT_EQ(keys.ApplicationActive(), !autoPause || kLive[frame].Active) << "frame " << frame;
    }
    keys.Update();
    EXPECT_EQ(Seen(keys), "") << "after the recording's end";
  }
}

// A file as far as it was flushed: what a game killed at that moment leaves behind.
class TFlushedText : public std::stringbuf {
 public:
  std::string Flushed;

 protected:
  int sync() override {
    Flushed = str();
    return 0;
  }
};

TEST(KeyReplay, RecordingHoldsTheHeaderTheChangesAsTheyHappenAndTheFrameCount) {
  const std::string header = "# MORVANTH key recording: FRAME KEY... held from that frame on\nseed 7\n";
  TFlushedText file;
  std::ostream out(&file);
  {
    TScriptedKeySource live;
    TKeyRecorder recorder(live, out, 7, "");
    EXPECT_EQ(file.Flushed, header);
    const std::vector<std::vector<uint8_t>> frames = {{}, {}, {VK_UP, 65}, {VK_UP, 65}, {}};
    const std::vector<std::string> flushed = {"0\n", "0\n", "0\n2 UP 65\n", "0\n2 UP 65\n", "0\n2 UP 65\n4\n"};
    for (size_t frame = 0; frame < frames.size(); ++frame) {
      live.ReleaseAll();
      for (uint8_t key : frames[frame]) live.SetKey(key, true);
      recorder.BeginFrame();
      EXPECT_EQ(file.Flushed, header + flushed[frame]) << "frame " << frame;
    }
  }
  EXPECT_EQ(file.Flushed, header + "0\n2 UP 65\n4\n5\n");

  // Cut before its frame-count line, the file still replays: its last line's keys are held from then on.
  std::istringstream cut(header + "0\n2 UP 65\n");
  TScriptedKeySource live;
  TKeyPlayer player(live, ReadKeyScript(cut).Lines, nullptr);
  for (int frame = 0; frame < 6; ++frame) {
    player.BeginFrame();
    EXPECT_EQ(player.IsKeyDown(VK_UP), frame >= 2) << "frame " << frame;
  }
}

// Any folder name a recording may start on, or hold a high-score table of, reads back as itself: plain names
// stay plain, the rest is quoted.
TEST(KeyReplay, EverySkinNameSurvivesARecording) {
  const std::string names[] = {"morv",
                               "my skin",
                               "new\nline",
                               "trailing ",
                               " leading",
                               "\"quoted\"",
                               "back\\slash\x1b[2J",
                               "tab\there\r",
                               std::string("nul\0byte", 8),
                               "\xE6\x98\x9F"};
  for (const std::string& name : names) {
    std::stringstream file;
    TKeyScript header;
    header.Seed = 3;
    header.Skin = name;
    header.Classic = true;
    header.Player = "ALICE";
    header.Scores = {{120, "BOB", name}, {7, "EVE", "morv"}};
    {
      TScriptedKeySource live;
      TKeyRecorder recorder(live, file, header);
      recorder.BeginFrame();
    }
    const std::string text = file.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9) << text;
    const TKeyScript script = ReadKeyScript(file);
    EXPECT_EQ(script.Skin, name) << text;
    EXPECT_EQ(script.Seed, 3u);
    EXPECT_EQ(script.Classic, true);
    EXPECT_EQ(script.Player, "ALICE");
    EXPECT_EQ(script.Scores, header.Scores) << text;
  }
  EXPECT_EQ(SkinLineValue("my skin"), "my skin");
  EXPECT_EQ(SkinLineValue("a\nb\\"), "\"a\\x0Ab\\\\\"");
}

TEST(KeyReplay, LiveEscapeStopsThePlayerWhileTheGameSeesOnlyTheScript) {
  TScriptedKeySource live;
  int stops = 0;
  TKeyPlayer player(live, {{0, {VK_Z}}}, [&stops] { ++stops; });
  live.SetKey(VK_ESCAPE, true);
  live.SetActive(false);
  player.BeginFrame();
  EXPECT_EQ(stops, 0) << "Escape from the background";
  live.SetActive(true);
  player.BeginFrame();
  EXPECT_EQ(stops, 1);
  EXPECT_FALSE(player.IsKeyDown(VK_ESCAPE));
  EXPECT_TRUE(player.IsKeyDown(VK_Z));
}

}  // namespace
