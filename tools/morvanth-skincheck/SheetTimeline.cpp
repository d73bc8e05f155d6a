// The stage sections of the contact sheet: per stage, its script as a timeline of rows of frames.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "EnemyFlight.h"
#include "GraphicIds.h"
#include "SheetCanvas.h"
#include "SheetStyle.h"
#include "StageDefs.h"
#include "TextEncoding.h"

namespace sheet {
namespace {

constexpr int32_t kFramesPerRow = 1500;
constexpr double kPixelsPerFrame = 1.2;  // members of a group a dozen frames apart stay apart
constexpr int32_t kMaxRows = 80;         // 120,000 frames, half an hour: later entries are counted, not drawn
constexpr int32_t kPlotLeft = kMargin + 56;
// Rows show where an enemy is first drawn, from a little above the field to a little below, at a fifth.
constexpr int32_t kYAbove = -40;
constexpr int32_t kYBelow = 640;
constexpr double kYScale = 0.2;
constexpr int32_t kPlotHeight = int32_t((kYBelow - kYAbove) * kYScale);
constexpr int32_t kAxisHeight = 24;
constexpr int32_t kRowGap = 12;

constexpr uint32_t kMotionColors[] = {
    0xE8E8E8,  // straight
    0x4F8FFF,  // sturn1
    0xA070FF,  // sturn2
    0x50D060,  // cturn1
    0xB0F040,  // cturn2
    0xFF9830,  // zigzag1
    0xFF5FB0,  // zigzag2
    0xFF3838,  // boss1
};
constexpr const char* kMotionNames[] = {"straight", "sturn1",  "sturn2",  "cturn1",
                                        "cturn2",   "zigzag1", "zigzag2", "boss1"};
constexpr uint32_t kOffField = 0x161A1F;
constexpr uint32_t kField = 0x222A33;
constexpr uint32_t kGrid = 0x2E3844;
constexpr uint32_t kCarrier = 0xFFD700;
constexpr uint32_t kRestart = 0x40E0E0;
constexpr uint32_t kLink = 0x8890A0;
constexpr uint32_t kStageClear = 0xFFFFFF;

uint32_t MotionColor(uint8_t Motion) { return Motion < std::size(kMotionColors) ? kMotionColors[Motion] : 0xE8E8E8; }

int32_t PlotY(int32_t Top, int32_t Y) {
  return Top + kAxisHeight + int32_t(std::lround((std::clamp(Y, kYAbove, kYBelow) - kYAbove) * kYScale));
}

int32_t PlotX(int64_t FrameInRow) { return kPlotLeft + int32_t(std::lround(double(FrameInRow) * kPixelsPerFrame)); }

void DrawMark(TSheetCanvas& Canvas, int32_t X, int32_t Y, int32_t Half, uint32_t Rgb) {
  Canvas.Box(X - Half, Y - Half, 2 * Half + 1, 2 * Half + 1, Rgb);
}

// The frame axis and the field's bands of one row covering frames From to From + kFramesPerRow.
void DrawRowFrame(TSheetCanvas& Canvas, int32_t Top, int64_t From) {
  const int32_t width = PlotX(kFramesPerRow) - kPlotLeft;
  const int32_t plotTop = Top + kAxisHeight;
  Canvas.Fill(kPlotLeft, plotTop, width, kPlotHeight, kOffField);
  Canvas.Fill(kPlotLeft, PlotY(Top, 0), width, PlotY(Top, 600) - PlotY(Top, 0), kField);
  for (int32_t f = 0; f <= kFramesPerRow; f += 50) {
    const int32_t x = PlotX(f);
    const bool major = f % 250 == 0;
    Canvas.Box(x, plotTop - (major ? 7 : 3), 1, major ? 7 : 3, kDim);
    if (!major) continue;
    if (f < kFramesPerRow) Canvas.Fill(x, plotTop, 1, kPlotHeight, kGrid);
    const std::string label = std::to_string(From + f);
    const int32_t w = Canvas.TextWidth(label, kSmallPoints);
    Canvas.Text(x - w / 2, Top + 1, label, kSmallPoints, kDim);
  }
  for (int32_t y : {0, 600}) {
    const std::string label = std::to_string(y);
    const int32_t w = Canvas.TextWidth(label, kSmallPoints);
    Canvas.Text(kPlotLeft - 6 - w, PlotY(Top, y) - Canvas.LineHeight(kSmallPoints) / 2, label, kSmallPoints, kDim);
  }
}

struct TMarkPlace {
  int32_t Row;
  int32_t X, Y;
};

TMarkPlace PlaceOf(int32_t Top, uint32_t Frame, int32_t FirstY) {
  const int32_t row = int32_t(Frame / kFramesPerRow);
  const int32_t rowTop = Top + row * (kAxisHeight + kPlotHeight + kRowGap);
  return {row, PlotX(Frame % kFramesPerRow), PlotY(rowTop, FirstY)};
}

std::string StageSummary(const TStageDef& Stage) {
  int32_t enemies = 0, restarts = 0, carriers = 0;
  for (const TStageObjectDef* entry = Stage.First(); entry != nullptr; entry = entry->Next()) {
    if (entry->Kind == okRestartPoint) {
      ++restarts;
      continue;
    }
    ++enemies;
    if (static_cast<const TEnemyDef*>(entry)->Item != ikNone) ++carriers;
  }
  return Counted(enemies, "enemy", "enemies") + ", " + Counted(int64_t(Stage.GroupSizes.size()), "group", "groups") +
         ", " + Counted(carriers, "capsule carrier", "capsule carriers") + ", " +
         Counted(restarts, "restart point", "restart points");
}

}  // namespace

int32_t DrawTimelineLegend(TSheetCanvas& Canvas, int32_t Top) {
  Canvas.Text(kMargin, Top, "Stages", kHeadPoints, kTitle);
  const int32_t headWidth = Canvas.TextWidth("Stages", kHeadPoints);
  Canvas.Text(kMargin + headWidth + 16, Top + 3,
              "across: the stage frame (" + std::to_string(kFramesPerRow) +
                  " a row); down: where each enemy is first drawn (the field's 600 pixels at a fifth, the lighter "
                  "band)",
              kLabelPoints, kDim);
  const int32_t y = Top + Canvas.LineHeight(kHeadPoints) + 10;
  const int32_t lineHeight = Canvas.LineHeight(kLabelPoints);
  const int32_t mid = y + lineHeight / 2;
  int32_t x = kMargin;
  for (size_t m = 0; m < std::size(kMotionColors); ++m) {
    DrawMark(Canvas, x + 4, mid, 3, kMotionColors[m]);
    x += 14 +
         Canvas.Text(x + 14, y, std::string(kMotionNames[m]) + " (" + std::to_string(m) + ")", kLabelPoints, kText) +
         22;
  }
  Canvas.Outline(x - 2, mid - 6, 13, 13, kCarrier);
  DrawMark(Canvas, x + 4, mid, 3, kMotionColors[0]);
  x += 18 + Canvas.Text(x + 18, y, "carries a capsule", kLabelPoints, kText) + 22;
  Canvas.Line(float(x), float(mid + 3), float(x + 30), float(mid - 3), 1.5f, kLink);
  x += 38 + Canvas.Text(x + 38, y, "one group (gN: its index)", kLabelPoints, kText) + 22;
  Canvas.Box(x + 4, y - 2, 1, lineHeight + 4, kRestart);
  x += 14 + Canvas.Text(x + 14, y, "restart point", kLabelPoints, kText) + 22;
  Canvas.Outline(x - 4, mid - 8, 17, 17, kWarning);
  DrawMark(Canvas, x + 4, mid, 3, kMotionColors[0]);
  x += 20 + Canvas.Text(x + 20, y, "has a warning", kLabelPoints, kText) + 22;
  DrawMark(Canvas, x + 6, mid, 6, kMotionColors[7]);
  Canvas.Outline(x - 2, mid - 8, 17, 17, kStageClear);
  Canvas.Text(x + 22, y, "stage-clear enemy", kLabelPoints, kText);
  return y + lineHeight + 14;
}

int32_t DrawStageTimeline(TSheetCanvas& Canvas, const TSheetSubject& Skin, const TStageDef& Stage, int32_t Number,
                          int32_t Top) {
  const int32_t titleWidth =
      Canvas.Text(kMargin, Top, "#" + std::to_string(Number) + "  " + Stage.Title, kHeadPoints, kTitle);
  Canvas.Text(kMargin + titleWidth + 16, Top + 3, StageSummary(Stage), kLabelPoints, kDim);
  const int32_t top = Top + Canvas.LineHeight(kHeadPoints) + 6;

  uint32_t lastFrame = 0;
  for (const TStageObjectDef* entry = Stage.First(); entry != nullptr; entry = entry->Next())
    lastFrame = std::max(lastFrame, entry->Frame);
  const int32_t rows = int32_t(std::min<uint32_t>(lastFrame / kFramesPerRow + 1, kMaxRows));
  const uint32_t drawnUpTo = uint32_t(rows) * kFramesPerRow;  // entries from here on are not drawn
  const int32_t rowPitch = kAxisHeight + kPlotHeight + kRowGap;
  for (int32_t row = 0; row < rows; ++row) DrawRowFrame(Canvas, top + row * rowPitch, int64_t{row} * kFramesPerRow);

  std::set<const TStageObjectDef*> warned;
  for (const TSkinWarning& w : Skin.Warnings) {
    if (w.Entry != nullptr && w.Entry->Kind == okEnemy) warned.insert(w.Entry);
  }

  // Restart points and group links under the marks.
  std::map<int32_t, TMarkPlace> lastOfGroup;
  int32_t notDrawn = 0;
  for (const TStageObjectDef* entry = Stage.First(); entry != nullptr; entry = entry->Next()) {
    if (entry->Frame >= drawnUpTo) {
      ++notDrawn;
      continue;
    }
    if (entry->Kind == okRestartPoint) {
      const TMarkPlace at = PlaceOf(top, entry->Frame, kYAbove);
      const int32_t rowTop = top + at.Row * rowPitch;
      Canvas.Box(at.X, rowTop + kAxisHeight, 1, kPlotHeight, kRestart);
      // Labelled at the foot of the row, clear of the group labels above the marks.
      Canvas.Text(at.X + 3, rowTop + kAxisHeight + kPlotHeight - Canvas.LineHeight(kSmallPoints),
                  "R " + std::to_string(entry->Frame), kSmallPoints, kRestart);
      continue;
    }
    auto* enemy = static_cast<const TEnemyDef*>(entry);
    if (enemy->Group < 0) continue;
    const TMarkPlace at = PlaceOf(top, entry->Frame, Skin.Flights.Of(*enemy).FirstY);
    auto [previous, first] = lastOfGroup.try_emplace(enemy->Group, at);
    if (first) {
      Canvas.Text(at.X - 4, at.Y - 22, "g" + std::to_string(enemy->Group), kSmallPoints, kDim);
    } else if (previous->second.Row == at.Row) {
      Canvas.Line(float(previous->second.X), float(previous->second.Y), float(at.X), float(at.Y), 1.5f, kLink);
    }
    previous->second = at;
  }

  for (const TStageObjectDef* entry = Stage.First(); entry != nullptr; entry = entry->Next()) {
    if (entry->Kind != okEnemy || entry->Frame >= drawnUpTo) continue;
    auto* enemy = static_cast<const TEnemyDef*>(entry);
    const TMarkPlace at = PlaceOf(top, entry->Frame, Skin.Flights.Of(*enemy).FirstY);
    if (warned.contains(entry)) Canvas.Outline(at.X - 8, at.Y - 8, 17, 17, kWarning);
    if (enemy->StageClear) {
      DrawMark(Canvas, at.X, at.Y, 6, MotionColor(enemy->Motion));
      Canvas.Outline(at.X - 8, at.Y - 8, 17, 17, kStageClear);
      const std::string label =
          "STAGE CLEAR at frame " + std::to_string(entry->Frame) + ": \"" + ToUTF8(Skin.Ids.Of(enemy->Graphic)) +
          "\", " + std::to_string(enemy->HP) + " hp, " +
          (enemy->Motion < std::size(kMotionNames) ? kMotionNames[enemy->Motion] : kMotionNames[0]);
      const std::string text = ToCP932(label);
      const int32_t w = Canvas.TextWidth(text, kLabelPoints);
      const int32_t x = at.X + 14 + w <= Canvas.Width() - kMargin ? at.X + 14 : at.X - 14 - w;
      Canvas.Text(x, at.Y - Canvas.LineHeight(kLabelPoints) / 2, text, kLabelPoints, kStageClear);
      continue;
    }
    if (enemy->Item != ikNone) Canvas.Outline(at.X - 6, at.Y - 6, 13, 13, kCarrier);
    DrawMark(Canvas, at.X, at.Y, 3, MotionColor(enemy->Motion));
  }

  int32_t bottom = top + rows * rowPitch;
  if (notDrawn > 0) {
    Canvas.Text(kMargin, bottom,
                std::to_string(notDrawn) + " entries after frame " + std::to_string(drawnUpTo) + " are not drawn",
                kLabelPoints, kWarning);
    bottom += Canvas.LineHeight(kLabelPoints) + 6;
  }
  return bottom + 10;
}

int32_t DrawWarningList(TSheetCanvas& Canvas, const TSheetSubject& Skin, int32_t Top) {
  const std::string head = "Warnings (" + std::to_string(Skin.Warnings.size()) + ")";
  Canvas.Text(kMargin, Top, head, kHeadPoints, kTitle);
  int32_t y = Top + Canvas.LineHeight(kHeadPoints) + 6;
  const int32_t lineHeight = Canvas.LineHeight(kLabelPoints);
  const int32_t width = Canvas.Width() - 2 * kMargin;
  if (Skin.Warnings.empty()) {
    Canvas.Text(kMargin, y, "none", kLabelPoints, kDim);
    return y + lineHeight;
  }
  for (const TSkinWarning& w : Skin.Warnings) {
    // Wrapped at blanks to the sheet's width; continuation lines indented.
    const std::string line = ToCP932(WarningLine(w));
    size_t start = 0;
    int32_t indent = 0;
    while (start < line.size()) {
      size_t end = line.size();
      while (Canvas.TextWidth(line.substr(start, end - start), kLabelPoints) > width - indent) {
        const size_t blank = line.rfind(' ', end - 1);
        if (blank == std::string::npos || blank <= start) break;
        end = blank;
      }
      Canvas.Text(kMargin + indent, y, line.substr(start, end - start), kLabelPoints, indent ? kDim : kText);
      y += lineHeight;
      start = end < line.size() ? end + 1 : end;
      indent = 40;
    }
  }
  return y;
}

}  // namespace sheet
