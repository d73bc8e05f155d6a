// The skin checker's report: every graphic definition and every stage as JSON, or a short text summary.
#pragma once
#include <ostream>
#include <string>

#include "GraphicDefs.h"
#include "StageDefs.h"

struct TSkinCheckResult {
  std::string SkinName;
  std::string SkinDir;
  std::string MapFile;  // the background picture found, or empty
  bool GraphicDefsLoaded = false;
  bool StageDefsLoaded = false;
};

void WriteSkinJson(std::ostream& Out, const TSkinCheckResult& Result, const TGraphicDefList& Graphics,
                   const TStageDefList& Stages);
void WriteSkinSummary(std::ostream& Out, const TSkinCheckResult& Result, const TGraphicDefList& Graphics,
                      const TStageDefList& Stages);
