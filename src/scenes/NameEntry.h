// A name written with the arrow keys: kMaxNameLength cells, each blank or one of kNameLetters. Up and down step the
// letter under the cursor through blank, A to Z, 0 to 9, '.' and '-' (and round), left and right move the cursor.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "HighScores.h"

class TNameEntry {
 public:
  static constexpr char kBlank = ' ';

  // The cells hold Name (a clean name; what does not fit is cut), the rest blank, with the cursor after the name's
  // last letter, or on the last cell when the name fills them all.
  void Start(const std::string& Name);
  // Steps the letter under the cursor: +1 is the up arrow, -1 the down arrow.
  void Step(int32_t Delta);
  // Moves the cursor a cell left (-1) or right (+1); it stays inside the cells.
  void Move(int32_t Delta);

  // The name the cells spell: their letters in order, blanks dropped; "" when every cell is blank.
  std::string Name() const;
  const std::array<char, kMaxNameLength>& Cells() const { return cells_; }
  int32_t Cursor() const { return cursor_; }

 private:
  std::array<char, kMaxNameLength> cells_{};
  int32_t cursor_ = 0;
};
