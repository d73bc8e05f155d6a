#include "GameSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "SettingsStore.h"
#include "SkinFolders.h"
#include "StartUp.h"
#include "TextEncoding.h"
#include "data/DataTestSupport.h"

namespace {

TEST(GameSettings, RoundTripThroughTheFile) {
  datatest::TTempDir dir;
  const std::string path = (dir.Path() / "morvanth" / kSettingsFileName).string();
  datatest::WriteFile(path, "language=ja\n");  // a key this version does not know
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path, error)) << error;
  EXPECT_EQ(ReadGameSettings(file), TGameSettings{});

  TGameSettings settings;
  settings.Fullscreen = true;
  settings.Scale = 3;
  settings.IntegerScaling = false;
  settings.Smooth = true;
  settings.Skin = "宇宙 café";  // a folder name as the file system gives it
  settings.Volume = 35;
  settings.Muted = true;
  settings.AutoPause = false;
  settings.Classic = true;
  ASSERT_EQ(settings.Keys.Bind(kaFire, 'X'), brBound);
  ASSERT_EQ(settings.Keys.Bind(kaPowerUp, VK_Z), brBound);  // the key fire just left
  ASSERT_EQ(settings.Keys.Bind(kaPause, 0x13), brBound);
  WriteGameSettings(settings, file);
  ASSERT_TRUE(file.Save(path, error)) << error;

  TSettingsFile again;
  ASSERT_TRUE(again.Load(path, error)) << error;
  std::vector<std::string> problems;
  EXPECT_EQ(ReadGameSettings(again, &problems), settings);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(again.Get("skin"), "宇宙 café");
  EXPECT_EQ(again.Get("language"), "ja");
  EXPECT_EQ(again.Get("classic"), "1");
  // One line per key of the table, the main keys first; a section of its own for the actions that moved.
  std::string text;
  for (const std::string& line : again.Lines()) text += line + "\n";
  EXPECT_EQ(text,
            "language=ja\nfullscreen=1\nscale=3\ninteger_scaling=0\nsmooth=1\nskin=宇宙 café\nvolume=35\nmuted=1\n"
            "autopause=0\nclassic=1\n\n[keys]\nfire=X\npowerup=Z\npause=PAUSEBREAK\n");
  for (const TSettingKey& key : SettingKeys()) EXPECT_TRUE(again.Get(key.Name).has_value()) << key.Name;

  // Back on the game's own key, an action keeps its line (now naming that key); one never moved gets none.
  settings.Keys.Reset();
  WriteGameSettings(settings, again);
  EXPECT_EQ(again.Get("fire", kKeysSection), "Z");
  EXPECT_EQ(again.Get("pause", kKeysSection), "ENTER");
  EXPECT_EQ(again.Get("left", kKeysSection), std::nullopt);
  EXPECT_EQ(ReadGameSettings(again).Keys, TKeyBindings{});
}

TEST(GameSettings, APlayerWhoNeverRebindsGetsNoKeysSection) {
  TSettingsFile file;
  WriteGameSettings(TGameSettings{}, file);
  for (const std::string& line : file.Lines()) EXPECT_EQ(line.find('['), std::string::npos) << line;
}

// A name the table does not know, or a key the program keeps, leaves that action on its own key; keys that
// would end up bound twice leave every action on its own. Each problem is one line naming the section.
TEST(GameSettings, KeysThatCannotBeBoundAreReportedAndLeftOnTheGamesOwn) {
  const struct {
    std::string Keys;
    TKeyBindings Expected;
    size_t Problems;
  } cases[] = {
      {"fire=c\npowerup=z\nleft=a\n", *TKeyBindings::FromKeys({VK_C, VK_Z, VK_RETURN, 'A', VK_UP, VK_RIGHT, VK_DOWN}),
       0},
      {"fire=SPACEBAR\nup=W\n", *TKeyBindings::FromKeys({VK_Z, VK_C, VK_RETURN, VK_LEFT, 'W', VK_RIGHT, VK_DOWN}), 1},
      {"fire=ESC\npowerup=ENTER\nup=TAB\npause=F11\n", TKeyBindings{}, 4},
      {"fire=X\npowerup=X\n", TKeyBindings{}, 1},
      {"fire=C\n", TKeyBindings{}, 1},  // power-up still has C
      {"fire=\n", TKeyBindings{}, 1},
  };
  for (const auto& c : cases) {
    datatest::TTempDir dir;
    const std::string path = (dir.Path() / kSettingsFileName).string();
    // Keys of the same names in the main part and in other sections are not the player's keys.
    datatest::WriteFile(path, "fire=V\n[Keys]\n" + c.Keys + "[other]\nfire=B\n");
    TSettingsFile file;
    std::string error;
    ASSERT_TRUE(file.Load(path, error));
    std::vector<std::string> problems;
    EXPECT_EQ(ReadGameSettings(file, &problems).Keys, c.Expected) << c.Keys;
    ASSERT_EQ(problems.size(), c.Problems) << c.Keys;
    for (const std::string& problem : problems) EXPECT_EQ(problem.rfind("[keys] ", 0), 0u) << problem;
  }
}

TEST(GameSettings, OutOfPlaceValuesReadAsDefaults) {
  datatest::TTempDir dir;
  const std::string path = (dir.Path() / kSettingsFileName).string();
  datatest::WriteFile(path,
                      "fullscreen=maybe\nscale=0\ninteger_scaling=2\nvolume=101\nmuted=x\nautopause=2\nclassic=2\n");
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path, error));
  EXPECT_EQ(ReadGameSettings(file), TGameSettings{});
}

// The session's file: its problems reported, written only on a change (the options screen saves on every one),
// and never once it could not be read.
TEST(GameSettings, TheStoreWritesChangesOnlyAndNeverAFileItCouldNotRead) {
  datatest::TTempDir dir;
  const std::string path = (dir.Path() / kSettingsFileName).string();
  datatest::WriteFile(path, "# mine\nvolume=40\n[keys]\nfire=NOSUCHKEY\n");
  std::vector<std::string> lines;
  auto report = [&lines](const std::string& Line) { lines.push_back(Line); };
  {
    TSettingsStore store(path, report);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "settings: " + path + ": [keys] fire=NOSUCHKEY: no key of that name, FIRE stays on Z");
    TGameSettings settings = store.Loaded();
    EXPECT_EQ(settings.Volume, 40);
    std::filesystem::remove(path);
    store.Save(settings);  // nothing changed: nothing written
    EXPECT_FALSE(std::filesystem::exists(path));
    settings.Classic = true;
    store.Save(settings);
    EXPECT_EQ(TSettingsStore(path, report).Loaded(), settings);
  }
  const std::string binary("volume=40\n\0\n", 12);
  datatest::WriteFile(path, binary);
  lines.clear();
  TSettingsStore store(path, report);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("settings not read, and not saved this session: ", 0), 0u) << lines[0];
  TGameSettings settings;
  settings.Volume = 10;
  store.Save(settings);
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), binary);
}

TEST(GameSettings, TheRememberedSkinIsSelectedOnlyWhenItStillExists) {
  const TSkinNameList oldNames = SkinNames;
  const std::string oldSkin = CurrentSkin;
  SkinNames.Clear();
  SkinNames.Add("morv");
  SkinNames.Add("Night");
  CurrentSkin = "morv";
  EXPECT_FALSE(SelectRememberedSkin("gone"));
  EXPECT_FALSE(SelectRememberedSkin(""));
  EXPECT_EQ(CurrentSkin, "morv");
  EXPECT_TRUE(SelectRememberedSkin("night"));
  EXPECT_EQ(CurrentSkin, "Night");  // the folder's own spelling
  SkinNames = oldNames;
  CurrentSkin = oldSkin;
}

}  // namespace
