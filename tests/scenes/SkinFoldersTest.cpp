#include "SkinFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "FileSystem.h"
#include "StartUp.h"
#include "TextCase.h"
#include "TextEncoding.h"

namespace fs = std::filesystem;

namespace {

class SkinFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    root_ = fs::temp_directory_path() / ("morvanth-skins-" + std::to_string(rd()));
    fs::create_directories(root_);
    CurrentSkin = kDefaultSkin;
  }
  void TearDown() override {
    fs::remove_all(root_);
    CurrentSkin = kDefaultSkin;
  }

  void Touch(const fs::path& File) {
    fs::create_directories(File.parent_path());
    std::ofstream(File) << "<x/>";
  }
  // A usable skin: both definition files present.
  void MakeSkin(const std::string& Name, const fs::path& SkinRoot = {}) {
    const fs::path folder = (SkinRoot.empty() ? root_ / "skin" : SkinRoot) / Name;
    Touch(folder / "xml" / "graphicdef.xml");
    Touch(folder / "xml" / "stagedef.xml");
  }
  void Init() { InitializeSkinFolders(root_.string()); }

  fs::path root_;
};

TEST_F(SkinFoldersTest, FoldersAreDerivedFromTheProgramFolder) {
  MakeSkin("morv");
  Init();
  EXPECT_EQ(ProgramDir, root_.string() + "/");
  EXPECT_EQ(SkinRoot, root_.string() + "/skin/");
  EXPECT_EQ(SystemSkinDir, root_.string() + "/skin/system/");
  EXPECT_EQ(SkinXmlDir(), root_.string() + "/skin/morv/xml/");
}

TEST_F(SkinFoldersTest, MissingSkinFolderRaisesSkinNotFound) {
  try {
    Init();
    FAIL() << "no exception";
  } catch (const ESkinNotFound& e) {
    EXPECT_EQ(ToUTF8(e.Message()), "スキンフォルダが存在しません");
  }
}

TEST_F(SkinFoldersTest, DefaultSkinStaysSelectedBesideAnother) {
  MakeSkin("alpha");
  MakeSkin("morv");
  MakeSkin("zeta");
  Init();
  EXPECT_EQ(SkinNames.Count(), 3);
  EXPECT_EQ(CurrentSkin, "morv");
}

TEST_F(SkinFoldersTest, FirstUsableSkinIsTakenWhenTheDefaultIsMissing) {
  MakeSkin("other");
  Init();
  ASSERT_EQ(SkinNames.Count(), 1);
  EXPECT_EQ(CurrentSkin, "other");
}

TEST_F(SkinFoldersTest, OnlyFoldersWithBothDefinitionFilesAreSkins) {
  Touch(root_ / "skin" / "half" / "xml" / "graphicdef.xml");
  Touch(root_ / "skin" / "stageonly" / "xml" / "stagedef.xml");
  Touch(root_ / "skin" / "plainfile");
  MakeSkin("system");  // excluded by its exact name
  MakeSkin("System");  // a different name for the scan
  Init();
  ASSERT_EQ(SkinNames.Count(), 1);
  EXPECT_EQ(SkinNames[0], "System");
  EXPECT_EQ(CurrentSkin, "System");
}

TEST_F(SkinFoldersTest, EmptySkinFolderLeavesNoSkinAndKeepsTheName) {
  fs::create_directories(root_ / "skin" / "system");
  Init();
  EXPECT_TRUE(SkinNames.Empty());
  EXPECT_EQ(CurrentSkin, "morv");
}

TEST_F(SkinFoldersTest, CurrentSkinDifferingOnlyInCaseCountsAsPresent) {
  MakeSkin("aaa");
  MakeSkin("MORV");
  CurrentSkin = "morv";
  InitializeSkinFolders(root_.string() + "/");
  EXPECT_EQ(CurrentSkin, "morv");
  EXPECT_EQ(SkinNames.IndexOf("Morv"), SkinNames.IndexOf("MORV"));
  EXPECT_GE(SkinNames.IndexOf("mOrV"), 0);
  EXPECT_EQ(SkinNames.IndexOf("mor"), -1);
}

TEST_F(SkinFoldersTest, PicturesFallBackToTheSystemSkin) {
  MakeSkin("morv");
  Touch(root_ / "skin" / "morv" / "graphic" / "ship.bmp");
  Touch(root_ / "skin" / "system" / "graphic" / "map.bmp");
  Touch(root_ / "skin" / "system" / "graphic" / "ship.bmp");
  Init();
  EXPECT_EQ(FindGraphicFile("ship.bmp"), root_.string() + "/skin/morv/graphic/ship.bmp");
  EXPECT_EQ(FindGraphicFile("map.bmp"), root_.string() + "/skin/system/graphic/map.bmp");
  EXPECT_EQ(FindGraphicFile("none.bmp"), "");
}

TEST_F(SkinFoldersTest, SkinsMadeOnWindowsAreFoundWhateverTheLetterCase) {
  Touch(root_ / "skin" / "MORV" / "Xml" / "GraphicDef.XML");
  Touch(root_ / "skin" / "MORV" / "Xml" / "StageDef.xml");
  Touch(root_ / "skin" / "MORV" / "Graphic" / "Map.BMP");
  Touch(root_ / "skin" / "System" / "graphic" / "Ship.bmp");
  Init();
  ASSERT_EQ(SkinNames.Count(), 1);
  EXPECT_EQ(CurrentSkin, "morv");  // the name the title shows; paths take the folder's spelling
  const std::string skin = root_.string() + "/skin/MORV/";
  EXPECT_EQ(SkinDir(), skin);
  EXPECT_EQ(FindGraphicFile("map.bmp"), skin + "Graphic/Map.BMP");
  EXPECT_EQ(FindGraphicFile("SHIP.BMP"), root_.string() + "/skin/System/graphic/Ship.bmp");
}

TEST_F(SkinFoldersTest, StartUpWithoutAUsableSkinNamesTheFolderInJapanese) {
  Touch(root_ / "skin" / "half" / "xml" / "graphicdef.xml");
  TStartUpResult result = StartUpSkins(root_.string());
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(ToUTF8(result.Message), "使用できるスキンが存在しません (" + root_.string() + "/skin/)");
}

TEST_F(SkinFoldersTest, PlayersAndSharedFoldersAddSkinsAndThePlayersCopyWins) {
  const fs::path bundled = root_ / "prog" / "skin", player = root_ / "home" / "skin", shared = root_ / "usr" / "skin";
  MakeSkin("morv", bundled);
  MakeSkin("night", bundled);
  Touch(bundled / "system" / "graphic" / "map.bmp");
  MakeSkin("MORV", player);  // the player's copy of a bundled skin, in another letter case
  MakeSkin("mine", player);
  Touch(player / "system" / "graphic" / "map.bmp");  // cannot replace the fallback
  MakeSkin("night", shared);                         // a shared copy does not win over the bundled one
  MakeSkin("mine", shared);                          // nor over the player's
  MakeSkin("site", shared);
  InitializeSkinFolders((root_ / "prog").string(), {player.string(), {(root_ / "missing").string(), shared.string()}});
  ASSERT_EQ(SkinNames.Count(), 4);
  EXPECT_EQ(SkinNames.IndexOf("mine"), 2);  // listed once each, at their first finding
  EXPECT_EQ(SkinNames.IndexOf("site"), 3);
  EXPECT_EQ(SkinNames.FolderOf(SkinNames.IndexOf("morv")), player.string() + "/MORV/");
  EXPECT_EQ(SkinNames.FolderOf(SkinNames.IndexOf("night")), bundled.string() + "/night/");
  EXPECT_EQ(SkinNames.FolderOf(SkinNames.IndexOf("mine")), player.string() + "/mine/");
  EXPECT_EQ(SystemSkinDir, bundled.string() + "/system/");
  EXPECT_EQ(SkinDir(), player.string() + "/MORV/");
  EXPECT_EQ(FindGraphicFile("map.bmp"), bundled.string() + "/system/graphic/map.bmp");
  EXPECT_EQ(SearchedSkinFolders(), bundled.string() + "/, " + player.string() + "/, " + root_.string() + "/missing/, " +
                                       shared.string() + "/");
}

TEST_F(SkinFoldersTest, WithoutABundledFolderThePlayersSkinsAndFallbackServe) {
  const fs::path player = root_ / "home" / "skin";
  MakeSkin("mine", player);
  Touch(player / "system" / "graphic" / "map.bmp");
  InitializeSkinFolders((root_ / "prog").string(), {player.string(), {}});
  ASSERT_EQ(SkinNames.Count(), 1);
  EXPECT_EQ(CurrentSkin, "mine");
  EXPECT_EQ(SystemSkinDir, player.string() + "/system/");
  // None of the folders at all: the design's message.
  EXPECT_THROW(InitializeSkinFolders((root_ / "prog").string(), {(root_ / "none").string(), {}}), ESkinNotFound);
}

TEST_F(SkinFoldersTest, NamesOutsideCodePage932AreListedAndAddressedByTheirBytes) {
  // Under a program folder whose name CP932 cannot hold either.
  const fs::path program = root_ / "j\xC3\xBCrgen \xF0\x9F\x9A\x80";
  const std::string names[] = {
      "caf\xC3\xA9",      "zo\xC3\xAB", "\xD0\xBA\xD0\xBE\xD1\x81\xD0\xBC\xD0\xBE\xD1\x81", "\xE5\xAE\x87\xE5\xAE\x99",
      "\xF0\x9F\x9A\x80", "Caf\xC3\x89"};
  for (const std::string& name : names) MakeSkin(name, program / "skin");
  Touch(program / "skin" / names[0] / "graphic" / "\xE8\x87\xAA\xE6\xA9\x9F.bmp");  // "自機.bmp"
  InitializeSkinFolders(program.string());
  ASSERT_EQ(SkinNames.Count(), 6);  // "Café" is another folder on Linux, though the same name for Windows
  for (const std::string& name : names) {
    ASSERT_GE(SkinNames.IndexOf(name), 0) << name;
    EXPECT_TRUE(fs::is_directory(FindSkinFolder(name))) << name;
  }
  EXPECT_EQ(SkinNames.IndexOf("\xD0\x9A\xD0\x9E\xD0\xA1\xD0\x9C\xD0\x9E\xD0\xA1"),
            SkinNames.IndexOf(names[2]));  // КОСМОС
  CurrentSkin = names[0];
  EXPECT_EQ(SkinDir(), program.string() + "/skin/" + names[0] + "/");
  // A picture name written in a skin's Shift_JIS text still finds its file.
  EXPECT_EQ(FindGraphicFile(Jp("自機.bmp")), SkinDir() + "graphic/\xE8\x87\xAA\xE6\xA9\x9F.bmp");
  // A name the title cannot draw is drawn as far as CP932 goes.
  EXPECT_EQ(DisplayName(names[0]), "caf?");
  EXPECT_EQ(DisplayName(names[3]), Jp("宇宙"));
  EXPECT_EQ(FindSkinFolder("../skin"), program.string() + "/skin/../skin/");  // never a listed skin's folder
  EXPECT_EQ(SkinNames.IndexOf("../skin"), -1);
}

TEST(TextCompare, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(SameText("MorV", "mORv"));
  EXPECT_FALSE(SameText("morv", "morv2"));
  // "ア" is 0x83 0x41; its trail byte 'A' must not match 0x83 0x61 ('a'), which is another character.
  EXPECT_FALSE(SameText("\x83\x41", "\x83\x61"));
  EXPECT_TRUE(SameText(Jp("スキンa"), Jp("スキンA")));
}

}  // namespace
