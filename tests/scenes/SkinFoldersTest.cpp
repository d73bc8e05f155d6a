#include "SkinFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

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

  void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "<x/>";
  }
  // A usable skin: both definition files present.
  void MakeSkin(const std::string& name) {
    Touch(root_ / "skin" / name / "xml" / "graphicdef.xml");
    Touch(root_ / "skin" / name / "xml" / "stagedef.xml");
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

TEST(TextCompare, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(SameText("MorV", "mORv"));
  EXPECT_FALSE(SameText("morv", "morv2"));
  // "ア" is 0x83 0x41; its trail byte 'A' must not match 0x83 0x61 ('a'), which is another character.
  EXPECT_FALSE(SameText("\x83\x41", "\x83\x61"));
  EXPECT_TRUE(SameText(Jp("スキンa"), Jp("スキンA")));
}

}  // namespace
