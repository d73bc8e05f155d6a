#include "ScoreFile.h"

#include <charconv>
#include <string_view>

namespace {
bool NeedsEscape(unsigned char C) {
  return C < 0x20 || C == 0x7F || C == '%' || C == '=' || C == ' ' || C == '#' || C == ';' || C == '[' || C == ']';
}

// "POINTS NAME" into Score and Name; false for anything else.
bool ParseRow(std::string_view Text, THighScore& Row) {
  const size_t space = Text.find(' ');
  if (space == std::string_view::npos) return false;
  const std::string_view points = Text.substr(0, space), name = Text.substr(space + 1);
  uint32_t score = 0;
  const auto [end, status] = std::from_chars(points.data(), points.data() + points.size(), score);
  if (status != std::errc{} || end != points.data() + points.size() || score > kMaxScore || !IsCleanName(name)) {
    return false;
  }
  Row = THighScore{score, std::string(name)};
  return true;
}

void Fill(THighScoreTable& Table, const THighScore& Row) { Table.Insert(Row.Score, Row.Name); }
}  // namespace

std::string ScoreKey(const std::string& Skin, int32_t Rank) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string key;
  for (const char c : Skin) {
    const auto byte = static_cast<unsigned char>(c);
    if (NeedsEscape(byte)) {
      key += '%';
      key += kHex[byte >> 4];
      key += kHex[byte & 15];
    } else {
      key += c;
    }
  }
  return key + "." + std::to_string(Rank);
}

void ReadScoreFile(const TSettingsFile& File, const std::vector<std::string>& Skins, TScoreBook& Book) {
  for (const std::string& skin : Skins) {
    THighScoreTable& table = Book.Table(skin);
    table = THighScoreTable{};
    for (int32_t rank = 1; rank <= kHighScoreRows; ++rank) {
      const std::optional<std::string> value = File.Get(ScoreKey(skin, rank));
      THighScore row;
      if (value && ParseRow(*value, row)) Fill(table, row);
    }
  }
}

void WriteScoreFile(const TScoreBook& Book, TSettingsFile& File) {
  for (const auto& [skin, table] : Book.Tables()) {
    const std::vector<THighScore>& rows = table.Rows();
    for (int32_t rank = 1; rank <= kHighScoreRows; ++rank) {
      const std::string key = ScoreKey(skin, rank);
      if (rank <= static_cast<int32_t>(rows.size())) {
        const THighScore& row = rows[static_cast<size_t>(rank - 1)];
        File.Set(key, std::to_string(row.Score) + " " + row.Name);
      } else {
        File.Remove(key);
      }
    }
  }
}

void ScoresToScript(const TScoreBook& Book, TKeyScript& Script) {
  for (const auto& [skin, table] : Book.Tables()) {
    for (const THighScore& row : table.Rows()) Script.Scores.push_back(TScriptScore{row.Score, row.Name, skin});
  }
}

void ScoresFromScript(const TKeyScript& Script, TScoreBook& Book) {
  for (const TScriptScore& score : Script.Scores) {
    if (score.Score <= kMaxScore && IsCleanName(score.Name)) Fill(Book.Table(score.Skin), {score.Score, score.Name});
  }
}
