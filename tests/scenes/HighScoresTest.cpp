// The high-score tables, the names written into them and the game that waits for its name.
#include "HighScores.h"

#include <gtest/gtest.h>

#include "NameEntry.h"
#include "ScoreBookScope.h"

namespace {

std::vector<uint32_t> Scores(const THighScoreTable& Table) {
  std::vector<uint32_t> scores;
  for (const THighScore& row : Table.Rows()) scores.push_back(row.Score);
  return scores;
}

TEST(HighScores, ATableKeepsTheTenBestAndALaterEqualScoreBelow) {
  THighScoreTable table;
  EXPECT_EQ(table.RankOf(0), -1) << "nothing scored, nothing to keep";
  EXPECT_EQ(table.Insert(0, "ZERO"), -1);
  EXPECT_EQ(table.Insert(500, "A"), 0);
  EXPECT_EQ(table.Insert(900, "B"), 0);
  EXPECT_EQ(table.Insert(500, "C"), 2) << "an equal score goes below the one already there";
  EXPECT_EQ(table.Rows()[1].Name, "A");
  for (uint32_t score = 100; score <= 700; score += 100) table.Insert(score, "F");
  EXPECT_EQ(Scores(table), (std::vector<uint32_t>{900, 700, 600, 500, 500, 500, 400, 300, 200, 100}));
  EXPECT_EQ(table.RankOf(100), -1) << "a full table takes no score equal to its last";
  EXPECT_EQ(table.Insert(99, "LOW"), -1);
  EXPECT_EQ(table.Insert(101, "G"), 9);
  EXPECT_EQ(table.Rows().size(), 10u);
  EXPECT_EQ(table.Rows()[9], (THighScore{101, "G"}));
  EXPECT_EQ(table.Insert(kMaxScore, "TOP"), 0);
  EXPECT_EQ(table.Rows().back().Score, 200u) << "the row pushed off the end is gone";

  EXPECT_EQ(AddScore(10, 5), 15u);
  EXPECT_EQ(AddScore(kMaxScore - 5, 5), kMaxScore);
  EXPECT_EQ(AddScore(kMaxScore - 5, UINT64_MAX), kMaxScore) << "held, never wrapped";
}

TEST(HighScores, NamesAreUpperCaseLettersDigitsDotAndDash) {
  EXPECT_EQ(CleanName("alice"), "ALICE");
  EXPECT_EQ(CleanName("j\xC3\xBCrgen.m-1_x"), "JRGEN.M-") << "other bytes dropped, then cut at eight";
  EXPECT_EQ(CleanName("a b\tc"), "ABC");
  EXPECT_EQ(CleanName("\xE5\xAE\x87"), "");
  EXPECT_TRUE(IsCleanName("ALICE-2"));
  EXPECT_FALSE(IsCleanName("alice"));
  EXPECT_FALSE(IsCleanName(""));
  EXPECT_FALSE(IsCleanName("NINECHARS"));
  EXPECT_FALSE(IsCleanName("A B"));
}

TEST(HighScores, TheArrowsWriteANameCellByCell) {
  TNameEntry entry;
  entry.Start("bob");
  EXPECT_EQ(entry.Name(), "BOB");
  EXPECT_EQ(entry.Cursor(), 3) << "after the name";
  entry.Step(+1);
  EXPECT_EQ(entry.Name(), "BOBA");
  entry.Step(-1);
  entry.Step(-1);
  EXPECT_EQ(entry.Name(), "BOB-") << "down from blank wraps to the last letter";
  entry.Step(+1);
  entry.Move(-1);
  entry.Step(-1);
  EXPECT_EQ(entry.Name(), "BOA");
  for (int i = 0; i < 20; ++i) entry.Move(-1);
  EXPECT_EQ(entry.Cursor(), 0);
  entry.Step(+1);
  entry.Step(+1);
  EXPECT_EQ(entry.Name(), "DOA") << "B, C, D";
  entry.Step(-4);
  EXPECT_EQ(entry.Name(), "OA") << "a blank cell is dropped";
  EXPECT_EQ(entry.Cells()[0], TNameEntry::kBlank);
  for (int i = 0; i < 20; ++i) entry.Move(+1);
  EXPECT_EQ(entry.Cursor(), 7);

  entry.Start("MAXIMILIANO");
  EXPECT_EQ(entry.Name(), "MAXIMILI");
  EXPECT_EQ(entry.Cursor(), 7) << "a full name leaves the cursor on its last cell";
  entry.Start("");
  EXPECT_EQ(entry.Name(), "");
  EXPECT_EQ(entry.Cursor(), 0);
  // Round the whole alphabet and back to where it started.
  entry.Step(static_cast<int32_t>(kNameLetters.size()) + 1);
  EXPECT_EQ(entry.Name(), "");
}

TEST(HighScores, AGameWaitsForItsNameOnlyWhenItMakesTheTableOffTheClassicScreen) {
  TScoreBookScope scope;
  int changes = 0;
  ScoreBook.OnChanged = [&changes](const TScoreBook&) { ++changes; };
  THighScoreTable& morv = ScoreBook.Table("morv");
  for (uint32_t score = 1000; score <= 10000; score += 1000) morv.Insert(score, "OLD");
  EXPECT_EQ(&ScoreBook.Table("MORV"), &morv) << "skins are named regardless of letter case";
  EXPECT_EQ(ScoreBook.Find("night"), nullptr);

  ScoreBook.GameEnded("Morv", 1000);
  EXPECT_FALSE(ScoreBook.Pending().has_value()) << "equal to the last row of a full table";
  ScoreBook.GameEnded("night", 0);
  EXPECT_FALSE(ScoreBook.Pending().has_value()) << "nothing scored";
  ScoreBook.Classic = true;
  ScoreBook.GameEnded("night", 50);
  EXPECT_FALSE(ScoreBook.Pending().has_value()) << "the classic screen keeps no scores";
  ScoreBook.Classic = false;
  ScoreBook.GameEnded("night", 50);
  ASSERT_TRUE(ScoreBook.Pending().has_value()) << "any score makes an empty table";
  EXPECT_EQ(ScoreBook.Find("night"), nullptr) << "the table is made only when the name is written";
  ScoreBook.GameEnded("morv", 1001);
  EXPECT_EQ(ScoreBook.Pending()->Skin, "morv") << "the latest game waits";

  // A program ending before the name was asked keeps the game under the default name.
  ScoreBook.SettlePending();
  EXPECT_FALSE(ScoreBook.Pending().has_value());
  EXPECT_EQ(morv.Rows()[9], (THighScore{1001, "ALICE"}));
  EXPECT_EQ(changes, 1);
  ScoreBook.SettlePending();
  EXPECT_EQ(changes, 1) << "nothing was waiting";
  EXPECT_FALSE(ScoreBook.TakePending().has_value());

  ScoreBook.Clear();
  EXPECT_TRUE(ScoreBook.Tables().empty());
  EXPECT_FALSE(ScoreBook.Classic);
  EXPECT_EQ(ScoreBook.DefaultName, "ALICE");
  ScoreBook.Changed();
  EXPECT_EQ(changes, 2) << "the book keeps whom it tells";
}

}  // namespace
