// The high scores on disk (scores.ini) and in a recording's header, and what a replay takes from it.
#include "ScoreFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ReplaySession.h"
#include "data/DataTestSupport.h"
#include "scenes/ScoreBookScope.h"

namespace {

TEST(ScoreFile, KeysHoldAnySkinNameOnOneLine) {
  EXPECT_EQ(ScoreKey("morv", 1), "morv.1");
  EXPECT_EQ(ScoreKey("my skin", 10), "my%20skin.10");
  EXPECT_EQ(ScoreKey("a=b%c", 2), "a%3Db%25c.2");
  EXPECT_EQ(ScoreKey("#x;[y]", 3), "%23x%3B%5By%5D.3") << "no comment, no section";
  EXPECT_EQ(ScoreKey("new\nline\x7F", 4), "new%0Aline%7F.4");
  EXPECT_EQ(ScoreKey("宇宙.v2", 5), "宇宙.v2.5") << "other bytes as they are";
}

TEST(ScoreFile, TablesSurviveTheFileAndWhatCannotBeReadIsLeftOut) {
  TScoreBookScope scope;
  datatest::TTempDir dir;
  const std::filesystem::path path = dir.Path() / "morvanth" / kScoresFileName;
  // Out of order, a broken value, a name not written with the game's letters, a score beyond the limit, a skin
  // that is not installed, and a comment: only the good rows count, in the order of their points.
  datatest::WriteFile(path,
                      "# mine\n"
                      "morv.1=300 ALICE\n"
                      "morv.2=900 BOB\n"
                      "morv.3=lots EVE\n"
                      "morv.4=100 eve\n"
                      "morv.5=1000000000 MAX\n"
                      "morv.6=300 CAROL\n"
                      "gone.1=5 OLD\n"
                      "my%20skin.1=7 DAVE\n");
  TSettingsFile file;
  std::string error;
  ASSERT_TRUE(file.Load(path.string(), error)) << error;
  ReadScoreFile(file, {"morv", "my skin", "night"}, ScoreBook);
  const std::vector<THighScore> morv = {{900, "BOB"}, {300, "ALICE"}, {300, "CAROL"}};
  EXPECT_EQ(ScoreBook.Table("morv").Rows(), morv);
  EXPECT_EQ(ScoreBook.Table("my skin").Rows(), (std::vector<THighScore>{{7, "DAVE"}}));
  EXPECT_TRUE(ScoreBook.Table("night").Rows().empty());
  EXPECT_EQ(ScoreBook.Find("gone"), nullptr);

  ScoreBook.Table("morv").Insert(500, "NEW");
  ScoreBook.Table("night").Insert(1, "N");
  WriteScoreFile(ScoreBook, file);
  ASSERT_TRUE(file.Save(path.string(), error)) << error;
  // Every row rewritten by rank; the ranks the table no longer has go (the broken rows with them); the comment
  // and the skin that is not installed stay.
  EXPECT_EQ(datatest::ReadFile(path),
            "# mine\n"
            "morv.1=900 BOB\n"
            "morv.2=500 NEW\n"
            "morv.3=300 ALICE\n"
            "morv.4=300 CAROL\n"
            "gone.1=5 OLD\n"
            "my%20skin.1=7 DAVE\n"
            "night.1=1 N\n");
  TScoreBook again;
  TSettingsFile reread;
  ASSERT_TRUE(reread.Load(path.string(), error)) << error;
  ReadScoreFile(reread, {"morv", "my skin", "night"}, again);
  for (const char* skin : {"morv", "my skin", "night"}) EXPECT_EQ(again.Table(skin), ScoreBook.Table(skin)) << skin;
}

TEST(ScoreFile, AReplayShowsTheRecordedScoresAndKeepsNone) {
  TScoreBookScope scope;
  ScoreBook.Table("morv").Insert(800, "BOB");
  ScoreBook.Table("a \"quoted\" skin").Insert(12, "EVE");
  ScoreBook.Table("a \"quoted\" skin").Insert(40, "DAN");
  TKeyScript header;
  header.Classic = false;
  header.Player = ScoreBook.DefaultName;
  ScoresToScript(ScoreBook, header);
  std::stringstream file;
  WriteKeyScriptHeader(file, header);
  const TKeyScript script = ReadKeyScript(file);
  EXPECT_EQ(script.Scores.size(), 3u) << file.str();

  // The player's own book: other tables, the classic screen, another name, and a file to keep them in.
  const TScoreBook recorded = ScoreBook;
  ScoreBook.Clear();
  ScoreBook.Table("morv").Insert(5, "MINE");
  ScoreBook.Classic = true;
  ScoreBook.DefaultName = "ME";
  int saves = 0;
  ScoreBook.OnChanged = [&saves](const TScoreBook&) { ++saves; };
  UseRecordedScores(script, false);
  EXPECT_FALSE(ScoreBook.Classic);
  EXPECT_EQ(ScoreBook.DefaultName, "ALICE");
  ASSERT_EQ(ScoreBook.Tables().size(), recorded.Tables().size());
  for (const auto& [skin, table] : recorded.Tables()) EXPECT_EQ(*ScoreBook.Find(skin), table) << skin;
  ScoreBook.Changed();
  EXPECT_EQ(saves, 0) << "a replay keeps nothing";

  // --classic wins over the recording's line; a recording without one leaves the screen as it is; the player
  // and the rows are cleaned, rows that are not clean names left out.
  ScoreBook.Classic = true;
  UseRecordedScores(script, true);
  EXPECT_TRUE(ScoreBook.Classic);
  TKeyScript old;
  old.Player = "x y";
  old.Scores = {{10, "lower", "morv"}, {20, "OK", "morv"}};
  UseRecordedScores(old, false);
  EXPECT_TRUE(ScoreBook.Classic);
  EXPECT_EQ(ScoreBook.DefaultName, "XY") << "cleaned";
  EXPECT_EQ(ScoreBook.Table("morv").Rows(), (std::vector<THighScore>{{20, "OK"}}));
}

}  // namespace
