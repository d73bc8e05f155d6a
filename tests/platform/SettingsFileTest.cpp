#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "DataFolders.h"
#include "data/DataTestSupport.h"

namespace {

TEST(SettingsFile, SavingKeepsWhatItDoesNotUnderstandAndChangesOnlyWhatWasSet) {
  const struct {
    std::string Before, After;
  } cases[] = {
      // Comments, blank lines, unknown keys: in place; a new key after the last line that is not blank; a removed
      // key's line goes.
      {"# mine\nvolume = 7\n\nscale=2\n; end\n\n", "# mine\n\nscale=3\n; end\nskin=morv\n\n"},
      // The program's own section takes the new key; another section's keys of the same name are not ours, to
      // change or to remove.
      {"[other]\nscale=9\nvolume=1\n\n[Morvanth]\nscale=2\n\n[more]\nx=1\n",
       "[other]\nscale=9\nvolume=1\n\n[Morvanth]\nscale=3\nskin=morv\n\n[more]\nx=1\n"},
      // Without a section of ours, the keys before the first section are ours.
      {"# top\nscale=2\n\n[other]\nscale=9\n", "# top\nscale=3\nskin=morv\n\n[other]\nscale=9\n"},
      // A broken line stays where it was; a byte-order mark and Windows line ends stay too.
      {"\xEF\xBB\xBFscale=2\r\nfullscreen\r\n[oops\r\n", "\xEF\xBB\xBFscale=3\r\nfullscreen\r\n[oops\r\nskin=morv\r\n"},
  };
  for (const auto& c : cases) {
    datatest::TTempDir dir;
    const std::filesystem::path path = dir.Path() / "morvanth" / "settings.ini";
    datatest::WriteFile(path, c.Before);
    TSettingsFile file;
    std::string error;
    ASSERT_TRUE(file.Load(path.string(), error)) << error;
    EXPECT_EQ(file.Get("scale"), "2") << c.Before;  // the first key is found behind a byte-order mark
    file.SetInt("scale", 3);
    file.Set("skin", "morv");
    file.Remove("volume");
    ASSERT_TRUE(file.Save(path.string(), error)) << error;
    EXPECT_EQ(datatest::ReadFile(path), c.After);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
  }
}

// A named section of the program's ("[keys]") is read and written by name; it joins the end of a file that has
// none, and its keys are neither the main part's nor another section's of the same names.
TEST(SettingsFile, ANamedSectionOfTheProgramsOwn) {
  const struct {
    std::string Before, After;
  } cases[] = {
      {"scale=2\n", "scale=2\nvolume=5\n\n[keys]\nfire=X\n"},
      {"scale=2\n\n", "scale=2\nvolume=5\n\n[keys]\nfire=X\n"},
      {"", "volume=5\n[keys]\nfire=X\n"},
      {"fire=Z\n[KEYS]\nup=W\n\n[other]\nfire=C\n", "fire=Z\nvolume=5\n[KEYS]\nup=W\nfire=X\n\n[other]\nfire=C\n"},
      {"[keys]\nfire=Q\n[morvanth]\nscale=2\n", "[keys]\nfire=X\n[morvanth]\nscale=2\nvolume=5\n"},
  };
  for (const auto& c : cases) {
    datatest::TTempDir dir;
    const std::filesystem::path path = dir.Path() / "settings.ini";
    datatest::WriteFile(path, c.Before);
    TSettingsFile file;
    std::string error;
    ASSERT_TRUE(file.Load(path.string(), error)) << error;
    EXPECT_EQ(file.Get("fire"), c.Before.starts_with("fire=Z") ? std::optional<std::string>("Z") : std::nullopt);
    file.Set("fire", "X", "keys");
    file.SetInt("volume", 5);
    EXPECT_EQ(file.Get("fire", "keys"), "X");
    EXPECT_EQ(file.Get("volume", "keys"), std::nullopt);
    ASSERT_TRUE(file.Save(path.string(), error)) << error;
    EXPECT_EQ(datatest::ReadFile(path), c.After) << c.Before;
  }
}

TEST(SettingsFile, ABrokenLineIsReportedOnceAndKept) {
  datatest::TTempDir dir;
  const std::filesystem::path path = dir.Path() / "settings.ini";
  datatest::WriteFile(path, "scale=2\nfullscreen\n=3\nvolume=5\n");
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path.string(), error));
  ASSERT_EQ(file.Problems().size(), 2u);
  EXPECT_EQ(file.Problems()[0],
            path.string() + ": line 2 is not key=value, a [section] or a comment; it is kept as it is");
  EXPECT_NE(file.Problems()[1].find("line 3"), std::string::npos);
  EXPECT_EQ(file.Get("volume"), "5");  // the lines after it still count
  EXPECT_EQ(file.Get("fullscreen"), std::nullopt);
}

TEST(SettingsFile, AFileThatCouldNotBeReadIsNeverOverwritten) {
  std::string random(4096, '\0');
  std::mt19937 generator(7);
  for (char& c : random) c = static_cast<char>(generator());
  const struct {
    std::string Content, Reason;
  } cases[] = {
      {std::string("scale=2\n\0\n", 10), "not a text file"},
      {random, "not a text file"},
      {std::string(70000, '#'), "larger than"},
  };
  for (const auto& c : cases) {
    datatest::TTempDir dir;
    const std::filesystem::path path = dir.Path() / "settings.ini";
    datatest::WriteFile(path, c.Content);
    TSettingsFile file;
    std::string error;
    EXPECT_FALSE(file.Load(path.string(), error));
    EXPECT_NE(error.find(c.Reason), std::string::npos) << error;
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_TRUE(file.Lines().empty());
    file.SetInt("scale", 3);
    EXPECT_FALSE(file.Save(path.string(), error));
    EXPECT_EQ(datatest::ReadFile(path), c.Content);
  }
  // A folder in the file's place, and a file without read permission (unless the tests run as root).
  datatest::TTempDir dir;
  std::filesystem::create_directories(dir.Path() / "folder.ini");
  TSettingsFile file;
  std::string error;
  EXPECT_FALSE(file.Load((dir.Path() / "folder.ini").string(), error));
  EXPECT_FALSE(file.Save((dir.Path() / "folder.ini").string(), error));
  const std::filesystem::path locked = dir.Path() / "locked.ini";
  datatest::WriteFile(locked, "scale=2\n");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (!std::ifstream(locked)) {
    EXPECT_FALSE(file.Load(locked.string(), error));
    EXPECT_FALSE(file.Save(locked.string(), error));
  }
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  EXPECT_EQ(datatest::ReadFile(locked), "scale=2\n");
}

TEST(SettingsFile, ALinkedFileIsUpdatedWhereItLives) {
  datatest::TTempDir dir;
  const std::filesystem::path target = dir.Path() / "dotfiles" / "morvanth.ini";
  datatest::WriteFile(target, "# kept\nscale=2\n");
  std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::create_directories(dir.Path() / "config" / "morvanth");
  const std::filesystem::path link = dir.Path() / "config" / "morvanth" / "settings.ini";
  std::filesystem::create_symlink("../../dotfiles/morvanth.ini", link);
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(link.string(), error)) << error;
  file.SetInt("scale", 4);
  ASSERT_TRUE(file.Save(link.string(), error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(datatest::ReadFile(target), "# kept\nscale=4\n");
  EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_FALSE(std::filesystem::exists(target.string() + ".new"));
}

TEST(SettingsFile, SavingCreatesTheFolder) {
  datatest::TTempDir dir;
  const std::filesystem::path path = dir.Path() / "a" / "b" / "settings.ini";
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path.string(), error));  // missing: empty
  EXPECT_TRUE(file.Lines().empty());
  file.SetBool("fullscreen", true);
  ASSERT_TRUE(file.Save(path.string(), error)) << error;
  EXPECT_EQ(datatest::ReadFile(path), "fullscreen=1\n");
}

TEST(SettingsFile, TypedValuesFallBackWhenOutOfPlace) {
  datatest::TTempDir dir;
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

TEST(SettingsFile, AValueEndsAtALineBreakOrAControlByte) {
  TSettingsFile file;
  file.Set("skin", "evil\nfullscreen=1");
  file.Set("name", "a\tb\x01c");
  EXPECT_EQ(file.Lines(), (std::vector<std::string>{"skin=evil", "name=a\tb"}));
}

TEST(SettingsFile, TheFoldersFollowTheXdgVariablesThenHome) {
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string savedConfig = oldConfig ? oldConfig : "", savedHome = oldHome ? oldHome : "";
  const char* oldData = std::getenv("XDG_DATA_HOME");
  const char* oldDirs = std::getenv("XDG_DATA_DIRS");
  const std::string savedData = oldData ? oldData : "", savedDirs = oldDirs ? oldDirs : "";
  setenv("HOME", "/home/p", 1);
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(ConfigFolder(), "/cfg/morvanth/");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as XDG says
  EXPECT_EQ(ConfigFolder(), "/home/p/.config/morvanth/");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(ConfigFolder(), "/home/p/.config/morvanth/");
  // Data (the player's skins): $XDG_DATA_HOME, else ~/.local/share, then each absolute folder of $XDG_DATA_DIRS.
  setenv("XDG_DATA_HOME", "/data/", 1);
  setenv("XDG_DATA_DIRS", "/opt/share:relative::/usr/share/", 1);
  TDataFolders data = ProgramDataFolders();
  EXPECT_EQ(data.Home, "/data/morvanth/");
  EXPECT_EQ(data.Shared, (std::vector<std::string>{"/opt/share/morvanth/", "/usr/share/morvanth/"}));
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_DATA_DIRS");
  data = ProgramDataFolders();
  EXPECT_EQ(data.Home, "/home/p/.local/share/morvanth/");
  EXPECT_EQ(data.Shared, (std::vector<std::string>{"/usr/local/share/morvanth/", "/usr/share/morvanth/"}));
  unsetenv("HOME");
  EXPECT_EQ(ConfigFolder(), "");
  EXPECT_EQ(ProgramDataFolders().Home, "");
  oldConfig ? setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
  oldData ? setenv("XDG_DATA_HOME", savedData.c_str(), 1) : unsetenv("XDG_DATA_HOME");
  oldDirs ? setenv("XDG_DATA_DIRS", savedDirs.c_str(), 1) : unsetenv("XDG_DATA_DIRS");
}

}  // namespace
