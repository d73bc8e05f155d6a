// The contact sheet's sections, and what they share: margins, type sizes and colours (RGB).
#pragma once
#include <cstdint>
#include <string>

#include "ContactSheet.h"

class TSheetCanvas;
class TStageDef;

namespace sheet {

constexpr int32_t kMargin = 24;
constexpr int32_t kTitlePoints = 20;
constexpr int32_t kHeadPoints = 15;
constexpr int32_t kLabelPoints = 11;
constexpr int32_t kSmallPoints = 10;

constexpr uint32_t kBackground = 0x101418;
constexpr uint32_t kPanel = 0x1C2229;
constexpr uint32_t kTitle = 0xFFFFFF;
constexpr uint32_t kText = 0xE8E8E8;
constexpr uint32_t kDim = 0x98A0A8;
constexpr uint32_t kPictureFrame = 0x56606A;
constexpr uint32_t kHitArea = 0x40FF60;
constexpr uint32_t kOrigin = 0xFF3030;
constexpr uint32_t kWarning = 0xFF4040;

// "1 group", "2 groups".
inline std::string Counted(int64_t N, const char* One, const char* Many) {
  return std::to_string(N) + " " + (N == 1 ? One : Many);
}

// Each section draws from Top and returns the y below it.
int32_t DrawSprites(TSheetCanvas& Canvas, const TSheetSubject& Skin, int32_t Top);
int32_t DrawAnimations(TSheetCanvas& Canvas, const TSheetSubject& Skin, int32_t Top);
int32_t DrawTimelineLegend(TSheetCanvas& Canvas, int32_t Top);
int32_t DrawStageTimeline(TSheetCanvas& Canvas, const TSheetSubject& Skin, const TStageDef& Stage, int32_t Number,
                          int32_t Top);
int32_t DrawWarningList(TSheetCanvas& Canvas, const TSheetSubject& Skin, int32_t Top);

}  // namespace sheet
