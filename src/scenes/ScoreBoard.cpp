#include "ScoreBoard.h"

#include <algorithm>
#include <cstdio>

#include "CustomScene.h"
#include "DGTexture.h"
#include "Field.h"
#include "GameKeys.h"
#include "KeyStates.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
#include "TextEncoding.h"
#include "s_MathPack.h"

namespace {
constexpr const char* kFont = "ＭＳ ゴシック";
constexpr int32_t kFontSize = 14, kPromptSize = 20;
constexpr const char* kPrompt = "NEW HIGH SCORE!  [ARROWS] NAME  [ENTER] OK";
constexpr int32_t kCursorHeight = 2;
// The text of a row: rank, score and name in fixed widths, so that the columns line up in the fixed-pitch face.
constexpr int32_t kNameColumn = 13;  // "%2d %9u " is 13 characters
}  // namespace

TScoreBoard::TScoreBoard(TCustomScene& Scene) : scene_(Scene) {
  prompt_ = scene_.CreateTextTexture(kPrompt, Jp(kFont), kPromptSize);
}

TScoreBoard::~TScoreBoard() {
  if (Entering()) Commit();
}

void TScoreBoard::Show(const std::string& Skin) {
  if (Entering()) return;  // the entry keeps its own table in view
  skin_ = Skin;
  MakeRows();
}

void TScoreBoard::BeginEntry(const TPendingScore& Pending) {
  if (Entering()) EndEntry();
  skin_ = Pending.Skin;
  const int32_t row = ScoreBook.Table(skin_).Insert(Pending.Score, ScoreBook.DefaultName);
  entry_.Start(ScoreBook.DefaultName);
  entryRow_ = row;
  MakeRows();
}

std::string TScoreBoard::EnteredName() const {
  const std::string name = entry_.Name();
  return name.empty() ? ScoreBook.DefaultName : name;
}

void TScoreBoard::Update(const TKeyStates& Keys) {
  if (!Entering()) return;
  if (Keys.IsPressed(VK_RETURN) || Keys.IsPressed(VK_ESCAPE)) {
    EndEntry();
    return;
  }
  if (Keys.IsPressed(VK_UP)) {
    entry_.Step(+1);
  } else if (Keys.IsPressed(VK_DOWN)) {
    entry_.Step(-1);
  } else if (Keys.IsPressed(VK_LEFT)) {
    entry_.Move(-1);
  } else if (Keys.IsPressed(VK_RIGHT)) {
    entry_.Move(+1);
  } else {
    return;
  }
  ScoreBook.Table(skin_).SetName(entryRow_, EnteredName());
  MakeRow(entryRow_);
}

int32_t TScoreBoard::Commit() {
  ScoreBook.Table(skin_).SetName(entryRow_, EnteredName());
  const int32_t row = entryRow_;
  entryRow_ = -1;
  ScoreBook.Changed();
  return row;
}

void TScoreBoard::EndEntry() { MakeRow(Commit()); }

void TScoreBoard::MakeRows() {
  for (int32_t row = 0; row < kHighScoreRows; ++row) MakeRow(row);
  rowWidth_ = 0;
  for (const auto& texture : rows_) rowWidth_ = std::max(rowWidth_, static_cast<int32_t>(texture->Width()));
  lineHeight_ = static_cast<int32_t>(rows_[0]->Height()) + kLineGap;
}

void TScoreBoard::MakeRow(int32_t Row) {
  const THighScoreTable* table = ScoreBook.Find(skin_);
  const bool filled = table != nullptr && Row < static_cast<int32_t>(table->Rows().size());
  char text[64];
  if (Row == entryRow_) {
    // The cells as they stand, a blank one as a space: the cursor's bar shows where a letter would go.
    const std::string cells(entry_.Cells().begin(), entry_.Cells().end());
    std::snprintf(text, sizeof text, "%2d %9u %s", Row + 1, table->Rows()[static_cast<size_t>(Row)].Score,
                  cells.c_str());
  } else if (filled) {
    const THighScore& score = table->Rows()[static_cast<size_t>(Row)];
    std::snprintf(text, sizeof text, "%2d %9u %-8s", Row + 1, score.Score, score.Name.c_str());
  } else {
    std::snprintf(text, sizeof text, "%2d --------- --------", Row + 1);
  }
  rows_[static_cast<size_t>(Row)].reset();
  rows_[static_cast<size_t>(Row)] = scene_.CreateTextTexture(text, Jp(kFont), kFontSize);
  if (Row == entryRow_) {
    // The writer still holds the row's font.
    const std::string_view line(text);
    cursorLeft_ = scene_.TextWriter()->TextWidth(line.substr(0, kNameColumn + entry_.Cursor()));
    cursorRight_ = scene_.TextWriter()->TextWidth(line.substr(0, kNameColumn + entry_.Cursor() + 1));
  }
}

int32_t TScoreBoard::RowX(int32_t Row) const {
  const int32_t left = (kFieldWidth - (2 * rowWidth_ + kColumnGap)) / 2;
  return left + (Row / kRowsPerColumn) * (rowWidth_ + kColumnGap);
}

int32_t TScoreBoard::RowY(int32_t Row) const { return kTop + (Row % kRowsPerColumn) * lineHeight_; }

int32_t TScoreBoard::Bottom() const { return kTop + kRowsPerColumn * lineHeight_; }

void TScoreBoard::Render() {
  const THighScoreTable* table = ScoreBook.Find(skin_);
  const int32_t filled = table != nullptr ? static_cast<int32_t>(table->Rows().size()) : 0;
  for (int32_t row = 0; row < kHighScoreRows; ++row) {
    const uint32_t color = row == entryRow_ ? kEntryColor : row < filled ? kRowColor : kEmptyColor;
    scene_.DrawTexture(RowX(row), RowY(row), false, false, color, rows_[static_cast<size_t>(row)].get());
  }
  if (!Entering()) return;
  scene_.DrawTexture((kFieldWidth - static_cast<int32_t>(prompt_->Width())) / 2, kPromptY, false, false, kEntryColor,
                     prompt_.get());
  const float w = static_cast<float>(cursorRight_ - cursorLeft_), h = kCursorHeight;
  const uint32_t color = kEntryColor | 0xFF000000u;
  const std::array<TSXVertexSP, 4> corners = {TSXVertexSP{0, 0, color, 0, 0, 0}, TSXVertexSP{w, 0, color, 0, 0, 0},
                                              TSXVertexSP{0, h, color, 0, 0, 0}, TSXVertexSP{w, h, color, 0, 0, 0}};
  const float x = static_cast<float>(RowX(entryRow_) + cursorLeft_);
  const float y = static_cast<float>(RowY(entryRow_) + lineHeight_ - kLineGap);
  scene_.SpriteScene()->DrawSprite(TVector2{x, y}, corners, nullptr, 2, false, false, 0.0f, D3DTADDRESS_CLAMP,
                                   D3DTADDRESS_CLAMP);
}
