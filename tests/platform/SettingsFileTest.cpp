#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "data/DataTestSupport.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SettingsFile, SavingKeepsCommentsAndUnknownKeysAndChangesOnlyWhatWasSet) {
  datatest::TempDir dir;
  const std::filesystem::path path = dir.Path() / "morvanth" / "settings.ini";
  datatest::WriteFile(path, "# mine\r\nvolume = 7\n\nscale=2\n; end\n");
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path.string(), error)) << error;
  EXPECT_EQ(file.Get("volume"), "7");
  file.SetInt("scale", 3);
  file.Set("skin", "morv");
  ASSERT_TRUE(file.Save(path.string(), error)) << error;
  EXPECT_EQ(ReadAll(path), "# mine\nvolume = 7\n\nscale=3\n; end\nskin=morv\n");
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
}

TEST(SettingsFile, SavingCreatesTheFolder) {
  datatest::TempDir dir;
  const std::filesystem::path path = dir.Path() / "a" / "b" / "settings.ini";
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path.string(), error));  // missing: empty
  EXPECT_TRUE(file.Lines().empty());
  file.SetBool("fullscreen", true);
  ASSERT_TRUE(file.Save(path.string(), error)) << error;
  EXPECT_EQ(ReadAll(path), "fullscreen=1\n");
}

TEST(SettingsFile, ABrokenFileIsIgnoredAsAWholeWithItsReason) {
  const struct {
    std::string Content, Reason;
  } cases[] = {
      {"scale=2\nfullscreen\n", "line 2 is not key=value"},
      {"=3\n", "line 1 is not key=value"},
      {std::string("scale=2\n\0\n", 10), "not a text file"},
      {std::string(70000, '#'), "larger than"},
  };
  for (const auto& c : cases) {
    datatest::TempDir dir;
    const std::filesystem::path path = dir.Path() / "settings.ini";
    datatest::WriteFile(path, c.Content);
    TSettingsFile file;
    std::string error;
    EXPECT_FALSE(file.Load(path.string(), error));
    EXPECT_NE(error.find(c.Reason), std::string::npos) << error;
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_TRUE(file.Lines().empty());
  }
}

TEST(SettingsFile, TypedValuesFallBackWhenOutOfPlace) {
  datatest::TempDir dir;
  const std::filesystem::path path = dir.Path() / "settings.ini";
  datatest::WriteFile(path, "a=yes\nb=off\nc=maybe\nd=4\ne=40\nf=4x\ng= -2 \n");
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path.string(), error));
  EXPECT_TRUE(file.GetBool("a", false));
  EXPECT_FALSE(file.GetBool("b", true));
  EXPECT_TRUE(file.GetBool("c", true));
  EXPECT_FALSE(file.GetBool("missing", false));
  EXPECT_EQ(file.GetInt("d", 1, 1, 8), 4);
  EXPECT_EQ(file.GetInt("e", 1, 1, 8), 1);
  EXPECT_EQ(file.GetInt("f", 1, 1, 8), 1);
  EXPECT_EQ(file.GetInt("g", 0, -5, 5), -2);
}

TEST(SettingsFile, AValueEndsAtALineBreak) {
  TSettingsFile file;
  file.Set("skin", "evil\nfullscreen=1");
  EXPECT_EQ(file.Lines(), std::vector<std::string>{"skin=evil"});
}

TEST(SettingsFile, TheFolderFollowsXdgConfigHomeThenHome) {
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string savedConfig = oldConfig ? oldConfig : "", savedHome = oldHome ? oldHome : "";
  setenv("HOME", "/home/p", 1);
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(ConfigFolder(), "/cfg/morvanth/");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as XDG says
  EXPECT_EQ(ConfigFolder(), "/home/p/.config/morvanth/");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(ConfigFolder(), "/home/p/.config/morvanth/");
  unsetenv("HOME");
  EXPECT_EQ(ConfigFolder(), "");
  oldConfig ? setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

}  // namespace
