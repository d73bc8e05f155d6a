#include "HighScores.h"

#include "TextCase.h"

TScoreBook ScoreBook;

std::string CleanName(std::string_view Text) {
  std::string name;
  for (char c : Text) {
    if (name.size() == kMaxNameLength) break;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (kNameLetters.find(c) != std::string_view::npos) name += c;
  }
  return name;
}

bool IsCleanName(std::string_view Text) { return !Text.empty() && CleanName(Text) == Text; }

int32_t THighScoreTable::RankOf(uint32_t Score) const {
  if (Score == 0) return -1;
  int32_t row = 0;
  while (row < static_cast<int32_t>(rows_.size()) && rows_[static_cast<size_t>(row)].Score >= Score) ++row;
  return row < kHighScoreRows ? row : -1;
}

int32_t THighScoreTable::Insert(uint32_t Score, const std::string& Name) {
  const int32_t row = RankOf(Score);
  if (row < 0) return -1;
  rows_.insert(rows_.begin() + row, THighScore{Score, Name});
  if (rows_.size() > static_cast<size_t>(kHighScoreRows)) rows_.pop_back();
  return row;
}

THighScoreTable& TScoreBook::Table(const std::string& Skin) {
  for (auto& [skin, table] : tables_) {
    if (SameText(skin, Skin)) return table;
  }
  return tables_.emplace_back(Skin, THighScoreTable{}).second;
}

const THighScoreTable* TScoreBook::Find(const std::string& Skin) const {
  for (const auto& [skin, table] : tables_) {
    if (SameText(skin, Skin)) return &table;
  }
  return nullptr;
}

void TScoreBook::GameEnded(const std::string& Skin, uint32_t Score) {
  if (Classic) return;
  const THighScoreTable* table = Find(Skin);
  const int32_t rank = table != nullptr ? table->RankOf(Score) : THighScoreTable{}.RankOf(Score);
  if (rank >= 0) pending_ = TPendingScore{Skin, Score};
}

std::optional<TPendingScore> TScoreBook::TakePending() {
  std::optional<TPendingScore> pending = std::move(pending_);
  pending_.reset();
  return pending;
}

void TScoreBook::SettlePending() {
  const std::optional<TPendingScore> pending = TakePending();
  if (pending && Table(pending->Skin).Insert(pending->Score, DefaultName) >= 0) Changed();
}

void TScoreBook::Changed() const {
  if (OnChanged) OnChanged(*this);
}

void TScoreBook::Clear() {
  tables_.clear();
  pending_.reset();
}
