// High scores: a table of the ten best games per skin, the names players write into it, and what the scenes share
// about scores across one run of the program (ScoreBook): whether they are shown at all, the tables, the name a new
// entry starts from and the game that has just ended, waiting on the title for its name.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int32_t kHighScoreRows = 10;
// Scores stop here: nine digits on screen, and far beyond what any stage pays.
inline constexpr uint32_t kMaxScore = 999'999'999;
inline constexpr size_t kMaxNameLength = 8;
// The letters a name is written with, in the order the up arrow steps through them; a blank cell ends nothing and
// is dropped from the name.
inline constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-";
inline constexpr const char* kFallbackName = "PLAYER";

// Score + Points, held at kMaxScore.
constexpr uint32_t AddScore(uint32_t Score, uint64_t Points) {
  return Points >= kMaxScore - Score ? kMaxScore : static_cast<uint32_t>(Score + Points);
}

// A name as the table holds it: upper case, only kNameLetters, at most kMaxNameLength; "" when nothing is left.
std::string CleanName(std::string_view Text);
// Whether Text is a name as CleanName leaves one (and not empty).
bool IsCleanName(std::string_view Text);

struct THighScore {
  uint32_t Score = 0;
  std::string Name;
  bool operator==(const THighScore&) const = default;
};

// At most kHighScoreRows rows, best first; a later game of the same score goes below the earlier ones.
class THighScoreTable {
 public:
  // The row Score would take (0 is the top); -1 when it does not make the table. A score of 0 never does.
  int32_t RankOf(uint32_t Score) const;
  // Puts the game into the table, dropping the row pushed off its end; the row it took, or -1 (nothing changes).
  int32_t Insert(uint32_t Score, const std::string& Name);
  void SetName(int32_t Row, const std::string& Name) { rows_[static_cast<size_t>(Row)].Name = Name; }
  const std::vector<THighScore>& Rows() const { return rows_; }
  bool operator==(const THighScoreTable&) const = default;

 private:
  std::vector<THighScore> rows_;
};

// A game that made its skin's table and waits for a name.
struct TPendingScore {
  std::string Skin;
  uint32_t Score = 0;
};

class TScoreBook {
 public:
  // The design's screen: no lives, no score, no table, no name entry. Scenes start out so; the programs choose.
  bool Classic = true;
  // The name a new entry starts with.
  std::string DefaultName = kFallbackName;
  // Told when a table changed for good (a name was entered); none: nothing is kept beyond this run.
  std::function<void(const TScoreBook&)> OnChanged;

  // Skin's table (letter case ignored), made empty when it has none yet.
  THighScoreTable& Table(const std::string& Skin);
  const THighScoreTable* Find(const std::string& Skin) const;
  // Every table with its skin, in the order they were first used.
  const std::vector<std::pair<std::string, THighScoreTable>>& Tables() const { return tables_; }

  // A game on Skin ended with Score: it waits for its name when it makes the table (never in classic mode).
  void GameEnded(const std::string& Skin, uint32_t Score);
  const std::optional<TPendingScore>& Pending() const { return pending_; }
  // The waiting game, handed to whoever asks for its name; none is waiting afterwards.
  std::optional<TPendingScore> TakePending();
  // Writes a waiting game into its table under DefaultName (a program ending before its name was asked).
  void SettlePending();
  // Tells OnChanged.
  void Changed() const;
  // Back to a new book (no tables, nothing waiting), keeping Classic, DefaultName and OnChanged.
  void Clear();

 private:
  std::vector<std::pair<std::string, THighScoreTable>> tables_;
  std::optional<TPendingScore> pending_;
};

// The scores of this run of the program.
extern TScoreBook ScoreBook;
