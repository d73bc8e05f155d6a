#include "GameSettings.h"

#include <gtest/gtest.h>

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
  WriteGameSettings(settings, file);
  ASSERT_TRUE(file.Save(path, error)) << error;

  TSettingsFile again;
  ASSERT_TRUE(again.Load(path, error)) << error;
  EXPECT_EQ(ReadGameSettings(again), settings);
  EXPECT_EQ(again.Get("skin"), "宇宙 café");
  EXPECT_EQ(again.Get("language"), "ja");
}

TEST(GameSettings, OutOfPlaceValuesReadAsDefaults) {
  datatest::TTempDir dir;
  const std::string path = (dir.Path() / kSettingsFileName).string();
  datatest::WriteFile(path, "fullscreen=maybe\nscale=0\ninteger_scaling=2\nvolume=101\nmuted=x\nautopause=2\n");
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path, error));
  EXPECT_EQ(ReadGameSettings(file), TGameSettings{});
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
