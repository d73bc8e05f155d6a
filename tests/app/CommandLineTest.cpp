#include "CommandLine.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

struct TParsed {
  bool Ok;
  TCommandLine Options;
  std::string Error;
};

TParsed Parse(std::vector<const char*> Args) {
  Args.insert(Args.begin(), "morvanth");
  TParsed parsed;
  parsed.Ok = ParseCommandLine(static_cast<int>(Args.size()), Args.data(), parsed.Options, parsed.Error);
  return parsed;
}

TEST(CommandLine, AcceptedOptions) {
  EXPECT_TRUE(Parse({}).Ok);
  EXPECT_FALSE(Parse({}).Options.Scale.has_value());
  EXPECT_EQ(Parse({"--scale", "2"}).Options.Scale, 2);
  EXPECT_EQ(Parse({"--scale=3"}).Options.Scale, 3);
  EXPECT_EQ(Parse({"--scale", "8"}).Options.Scale, 8);
  EXPECT_TRUE(Parse({"--help"}).Options.Help);
  EXPECT_TRUE(Parse({"-h"}).Options.Help);
  EXPECT_TRUE(Parse({"--version"}).Options.Version);
  EXPECT_FALSE(Parse({"--help"}).Options.Version);
  EXPECT_FALSE(Parse({}).Options.Volume.has_value());
  EXPECT_FALSE(Parse({}).Options.Mute);
  EXPECT_FALSE(Parse({}).Options.Classic);
  const TParsed sound = Parse({"--mute", "--volume", "0", "--scale=2", "--classic"});
  EXPECT_EQ(sound.Options.Volume, 0);
  EXPECT_TRUE(sound.Options.Mute);
  EXPECT_TRUE(sound.Options.Classic);
  EXPECT_EQ(Parse({"--volume=100"}).Options.Volume, 100);
  const TParsed replay = Parse({"--replay", "in.txt", "--record=out.txt"});
  EXPECT_EQ(replay.Options.Replay, "in.txt");
  EXPECT_EQ(replay.Options.Record, "out.txt");
  // Folder and skin names pass as the system gives them, bytes outside CP932 included.
  const TParsed skin = Parse({"--root", "/home/j\xC3\xBCrgen/game", "--skin=caf\xC3\xA9"});
  EXPECT_EQ(skin.Options.Root, "/home/j\xC3\xBCrgen/game");
  EXPECT_EQ(skin.Options.Skin, "caf\xC3\xA9");
  // Start anywhere: what is not given starts as a game does.
  EXPECT_FALSE(Parse({"--skin", "morv"}).Options.StartsInGame());
  const TParsed start = Parse({"--stage", "3", "--frame=9000", "--power", "double,options=2"});
  ASSERT_TRUE(start.Ok) << start.Error;
  const TGameStart game = start.Options.GameStart();
  EXPECT_EQ(game.Stage, 3);
  EXPECT_EQ(game.Frame, 9000u);
  EXPECT_EQ(game.Power.ShotType, stDouble);
  EXPECT_EQ(game.Power.Options, 2);
  EXPECT_EQ(game.Power.Speed, TEmu::kStartSpeed);
  const TParsed watch = Parse({"--watch"});
  EXPECT_TRUE(watch.Options.StartsInGame());
  EXPECT_EQ(watch.Options.GameStart().Stage, 1);
  EXPECT_EQ(watch.Options.GameStart().Frame, 0u);
  EXPECT_EQ(Parse({"--frame", "4294967295"}).Options.Frame, 4294967295u);
}

TEST(CommandLine, RejectedArgumentsSayWhy) {
  const struct {
    std::vector<const char*> Args;
    std::string Error;
  } cases[] = {
      {{"--scale"}, "--scale needs a value"},
      {{"--scale", "0"}, "--scale takes a whole number from 1 to 8, not '0'"},
      {{"--scale", "9"}, "--scale takes a whole number from 1 to 8, not '9'"},
      {{"--scale=2x"}, "--scale takes a whole number from 1 to 8, not '2x'"},
      {{"--volume", "101"}, "--volume takes a whole number from 0 to 100, not '101'"},
      {{"--volume", "-5"}, "--volume takes a whole number from 0 to 100, not '-5'"},
      {{"--volume"}, "--volume needs a value"},
      {{"--mute=1"}, "unknown option '--mute=1'"},
      {{"--record"}, "--record needs a value"},
      {{"--replay", ""}, "--replay needs a file name"},
      {{"--record", "a", "--record", "b"}, "--record is given twice"},
      {{"--skin", ""}, "--skin needs a value"},
      {{"--root"}, "--root needs a value"},
      {{"--skin=a", "--skin", "b"}, "--skin is given twice"},
      {{"--fullscreen"}, "unknown option '--fullscreen'"},
      {{"game.dat"}, "unexpected argument 'game.dat'"},
      {{"--stage", "0"}, "--stage takes a stage number from 1 (as the stage titles count), not '0'"},
      {{"--stage=two"}, "--stage takes a stage number from 1 (as the stage titles count), not 'two'"},
      {{"--frame", "-1"}, "--frame takes a stage frame from 0 to 4294967295, not '-1'"},
      {{"--frame", "4294967296"}, "--frame takes a stage frame from 0 to 4294967295, not '4294967296'"},
      {{"--power", "double,laser"}, "--power takes one of double and laser, once"},
      {{"--watch", "--record", "r.keys"},
       "--stage, --frame, --power and --watch cannot be used with --record or --replay"},
      {{"--replay", "r.keys", "--frame", "5"},
       "--stage, --frame, --power and --watch cannot be used with --record or --replay"},
  };
  for (const auto& c : cases) {
    const TParsed parsed = Parse(c.Args);
    EXPECT_FALSE(parsed.Ok);
    EXPECT_EQ(parsed.Error, c.Error);
  }
}

// Recording over the replay is refused before anything is opened: the same name, a symbolic link or a hard
// link to it; the replay is left as it was.
TEST(CommandLine, RecordingOverTheReplayIsRefused) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("morvanth-cmdline-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string replay = (dir / "run.txt").string(), soft = (dir / "soft.txt").string(),
                    hard = (dir / "hard.txt").string(), other = (dir / "other.txt").string();
  std::ofstream(replay) << "seed 1\n0 Z\n";
  fs::create_symlink(replay, soft);
  fs::create_hard_link(replay, hard);
  std::ofstream(other) << "seed 2\n";
  for (const std::string& record : {replay, soft, hard, (dir / "." / "run.txt").string()}) {
    const TParsed parsed = Parse({"--replay", replay.c_str(), "--record", record.c_str()});
    EXPECT_FALSE(parsed.Ok) << record;
    EXPECT_EQ(parsed.Error, "--record " + record + " would overwrite the replay " + replay);
  }
  EXPECT_TRUE(Parse({"--replay", replay.c_str(), "--record", other.c_str()}).Ok);
  EXPECT_TRUE(Parse({"--replay", replay.c_str(), "--record", (dir / "new.txt").string().c_str()}).Ok);
  EXPECT_EQ(fs::file_size(replay), 11U);
  fs::remove_all(dir);
}

}  // namespace
