// The program's ScoreBook for one test: as it was before on leaving, and set to show the scores (not the
// classic screen) meanwhile, with no tables and nothing kept.
#pragma once
#include "HighScores.h"

class TScoreBookScope {
 public:
  explicit TScoreBookScope(bool Classic = false) : saved_(ScoreBook) {
    ScoreBook = TScoreBook{};
    ScoreBook.Classic = Classic;
    ScoreBook.DefaultName = "ALICE";
  }
  ~TScoreBookScope() { ScoreBook = saved_; }
  TScoreBookScope(const TScoreBookScope&) = delete;
  TScoreBookScope& operator=(const TScoreBookScope&) = delete;

 private:
  TScoreBook saved_;
};
