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
std::string Seen(const TKeyStates& keys) {
  std::string seen;
  for (int key = 0; key < 256; ++key) {
    if (keys.IsDown(uint8_t(key))) seen += (keys.IsPressed(uint8_t(key)) ? "+" : "=") + std::to_string(key) + " ";
  }
  return seen;
}

struct TLiveFrame {
  std::vector<uint8_t> Down;
  bool Active = true;
};

// Live keys with presses, holds, a key the game never samples (200) and a spell in the background.
const std::vector<TLiveFrame> kLive = {
    {{}, true},          {{VK_RETURN}, true}, {{VK_RETURN}, true}, {{VK_Z, 200}, true}, {{VK_Z, VK_LEFT}, true},
    {{VK_Z, VK_LEFT}, false}, {{VK_Z, VK_LEFT}, true}, {{VK_LCONTROL}, true}, {{}, true}, {{}, true},
};

TEST(KeyReplay, ReplayShowsTheGameEveryFrameItSawWhileRecording) {
  std::ostringstream file;
  std::vector<std::string> recorded;
  {
    TScriptedKeySource live;
    TKeyRecorder recorder(live, file, 4242, "morv");
    TKeyStates keys(recorder);
    TKeyStates direct(live);
    for (const TLiveFrame& frame : kLive) {
      live.ReleaseAll();
      for (uint8_t key : frame.Down) live.SetKey(key, true);
      live.SetActive(frame.Active);
      keys.Update();
      direct.Update();
      recorded.push_back(Seen(keys));
      EXPECT_EQ(recorded.back(), Seen(direct)) << "the recorder changes what the game sees, frame " << recorded.size();
    }
  }
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
  }
  keys.Update();
  EXPECT_EQ(Seen(keys), "") << "after the recording's end";
}

TEST(KeyReplay, RecordingHoldsTheHeaderTheChangesAndTheFrameCount) {
  std::ostringstream file;
  {
    TScriptedKeySource live;
    TKeyRecorder recorder(live, file, 7, "");
    const std::vector<std::vector<uint8_t>> frames = {{}, {}, {VK_UP, 65}, {VK_UP, 65}, {}};
    for (const auto& down : frames) {
      live.ReleaseAll();
      for (uint8_t key : down) live.SetKey(key, true);
      recorder.BeginFrame();
    }
  }
  EXPECT_EQ(file.str(), "# MORVANTH key recording: FRAME KEY... held from that frame on\nseed 7\n0\n2 UP 65\n4\n5\n");
}

// Any folder name a recording may start on reads back as itself: plain names stay plain, the rest is quoted.
TEST(KeyReplay, EverySkinNameSurvivesARecording) {
  const std::string names[] = {"morv", "my skin", "new\nline", "trailing ", " leading", "\"quoted\"",
                               "back\\slash\x1b[2J", "tab\there\r", std::string("nul\0byte", 8), "\xE6\x98\x9F"};
  for (const std::string& name : names) {
    std::stringstream file;
    {
      TScriptedKeySource live;
      TKeyRecorder recorder(live, file, 3, name);
      recorder.BeginFrame();
    }
    const std::string text = file.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5) << text;
    const TKeyScript script = ReadKeyScript(file);
    EXPECT_EQ(script.Skin, name) << text;
    EXPECT_EQ(script.Seed, 3u);
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
