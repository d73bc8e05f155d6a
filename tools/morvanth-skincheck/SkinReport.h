// The skin checker's report: every graphic definition, every stage and every warning as JSON, or a short text summary.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "GraphicDefs.h"
#include "SkinWarnings.h"
#include "StageDefs.h"

struct TSkinCheckResult {
  std::string SkinName;
  std::string SkinDir;
  std::string MapFile;  // the background picture found, or empty
  bool GraphicDefsLoaded = false;
  bool StageDefsLoaded = false;
};

void WriteSkinJson(std::ostream& Out, const TSkinCheckResult& Result, const TGraphicDefList& Graphics,
                   const TStageDefList& Stages, const std::vector<TSkinWarning>& Warnings);
// The counts, one line per warning, and "OK" (with the number of warnings, when there are any).
void WriteSkinSummary(std::ostream& Out, const TSkinCheckResult& Result, const TGraphicDefList& Graphics,
                      const TStageDefList& Stages, const std::vector<TSkinWarning>& Warnings);
