// morvanth-skincheck --sheet: one picture of a whole skin, drawn with the game's own renderer. Every graphic
// definition with its id (sprites at twice their size with hit area and origin marked, every entry of every
// animation in a row), then per stage a timeline of its script (frames across, each enemy a mark coloured by its
// motion code, groups linked, capsule carriers, the stage-clear enemy, restart points), then the warnings.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "SkinWarnings.h"

class TFlightCache;
class TGraphicDefList;
class TGraphicIds;
class THeadlessPresenter;
class TStageDefList;
class TVUDader;

// The sheet fits a 1920-pixel screen at 100 %; the device draws it in bands of this height.
constexpr int32_t kSheetWidth = 1920;
constexpr int32_t kSheetBandHeight = 1080;

struct TSheetSubject {
  std::string SkinName;  // the folder's name, as the file system spells it
  const TGraphicDefList& Graphics;
  const TStageDefList& Stages;
  const TGraphicIds& Ids;
  TFlightCache& Flights;
  const std::vector<TSkinWarning>& Warnings;
};

// Draws the sheet on Device (its back buffer kSheetWidth x kSheetBandHeight, presented to Capture) and writes it to
// File as a PNG. Returns the sheet's height in pixels.
int32_t WriteContactSheet(const std::filesystem::path& File, TVUDader& Device, THeadlessPresenter& Capture,
                          const TSheetSubject& Skin);
