// The title's high-score table: the selected skin's ten best games in two columns under the skin selector, and the
// name entry of a game that has just made the table (its row stands in the table from the start, under the
// default name, and the arrows write the name in place). Row textures are made when the table or the name changes,
// never per frame.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "HighScores.h"
#include "NameEntry.h"

class TCustomScene;
class TDGTexture;
class TKeyStates;

class TScoreBoard {
 public:
  static constexpr int32_t kTop = 400;  // the first line, under the skin selector (375)
  static constexpr int32_t kRowsPerColumn = 5, kColumnGap = 48, kLineGap = 2;
  static constexpr int32_t kPromptY = 325;  // the entry's prompt stands where "PRESS ENTER" does
  static constexpr uint32_t kRowColor = 0xFFFFFF, kEmptyColor = 0x606060, kEntryColor = 0xFFFF00;

  explicit TScoreBoard(TCustomScene& Scene);
  // An entry still open when the title goes (the program ends) is kept with the name as it stands.
  ~TScoreBoard();
  TScoreBoard(const TScoreBoard&) = delete;
  TScoreBoard& operator=(const TScoreBoard&) = delete;

  // Shows Skin's table.
  void Show(const std::string& Skin);
  // Puts Pending into its skin's table under ScoreBook's default name, shows that table and opens the entry.
  void BeginEntry(const TPendingScore& Pending);
  bool Entering() const { return entryRow_ >= 0; }
  // One frame of the entry: up and down change the letter, left and right move the cursor; Enter or Escape ends
  // it and the table is kept (ScoreBook.Changed). An empty name stays the default one.
  void Update(const TKeyStates& Keys);
  // Queues the table and, while entering, the prompt and the cursor's bar under its cell.
  void Render();
  // The y below the table's last line.
  int32_t Bottom() const;

  int32_t EntryRow() const { return entryRow_; }
  const TNameEntry& Entry() const { return entry_; }
  const std::string& Skin() const { return skin_; }

 private:
  std::string EnteredName() const;
  // Writes the name into the table, closes the entry and keeps the table; the row it was.
  int32_t Commit();
  void EndEntry();
  void MakeRows();
  void MakeRow(int32_t Row);
  // Top left of a row.
  int32_t RowX(int32_t Row) const;
  int32_t RowY(int32_t Row) const;

  TCustomScene& scene_;
  std::string skin_;
  std::array<std::unique_ptr<TDGTexture>, kHighScoreRows> rows_;
  std::unique_ptr<TDGTexture> prompt_;
  int32_t rowWidth_ = 0, lineHeight_ = 0;
  TNameEntry entry_;
  int32_t entryRow_ = -1;
  int32_t cursorLeft_ = 0, cursorRight_ = 0;  // the cursor's cell within the entry's row, in pixels
};
