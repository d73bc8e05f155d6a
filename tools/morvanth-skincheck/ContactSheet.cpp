#include "ContactSheet.h"

#include "FileSystem.h"
#include "GraphicDefs.h"
#include "SheetCanvas.h"
#include "SheetStyle.h"
#include "StageDefs.h"
#include "TextEncoding.h"

using namespace sheet;

namespace {

int32_t DrawHeader(TSheetCanvas& Canvas, const TSheetSubject& Skin, int32_t Top) {
  int32_t sprites = 0;
  for (int32_t i = 0; i < Skin.Graphics.Count(); ++i)
    sprites += dynamic_cast<const TSpriteDef*>(Skin.Graphics.ItemAt(i)) != nullptr ? 1 : 0;
  const int32_t w = Canvas.Text(kMargin, Top, "MORVANTH skin " + DisplayName(Skin.SkinName), kTitlePoints, kTitle);
  const size_t warnings = Skin.Warnings.size();
  Canvas.Text(kMargin + w + 20, Top + 6,
              Counted(sprites, "sprite", "sprites") + ", " +
                  Counted(Skin.Graphics.Count() - sprites, "animation", "animations") + ", " +
                  Counted(Skin.Stages.Count(), "stage", "stages") + ", " +
                  Counted(int64_t(warnings), "warning", "warnings"),
              kHeadPoints, warnings ? kWarning : kDim);
  return Top + Canvas.LineHeight(kTitlePoints) + 12;
}

}  // namespace

int32_t WriteContactSheet(const std::filesystem::path& File, TVUDader& Device, THeadlessPresenter& Capture,
                          const TSheetSubject& Skin) {
  TSheetCanvas canvas(Device, Capture, kSheetWidth, kSheetBandHeight);
  int32_t y = DrawHeader(canvas, Skin, kMargin);
  y = DrawSprites(canvas, Skin, y) + 24;
  y = DrawAnimations(canvas, Skin, y) + 14;
  y = DrawTimelineLegend(canvas, y);
  int32_t number = 0;
  for (const TStageDef* stage = Skin.Stages.First(); stage != nullptr; stage = stage->Next())
    y = DrawStageTimeline(canvas, Skin, *stage, ++number, y) + 10;
  y = DrawWarningList(canvas, Skin, y + 10) + kMargin;
  canvas.Save(File, y, kBackground);
  return y;
}
