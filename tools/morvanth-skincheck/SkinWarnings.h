// Warnings for what loads but cannot work as the skin's author meant: enemies never on the field, groups that cannot
// pay out, unused graphics, hit areas beyond their pictures, stages that cannot end or lack restart points, group
// members on one spot, animation entries that never show. They never stop a skin from loading.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TAnimationDef;
class TFlightCache;
class TGraphicDefList;
class TGraphicIds;
class TStageDefList;
class TStageObjectDef;

struct TSkinWarning {
  explicit TSkinWarning(const char* ACode) : Code(ACode) {}

  const char* Code;                        // the warning's name, as documented ("enemy-never-on-field", ...)
  int32_t Stage = 0;                       // from 1, as the stage titles count; 0 when it concerns no stage
  int64_t Frame = -1;                      // a stage frame, or an animation entry's frame; -1 for none
  std::string Id;                          // the graphic id concerned (CP932), or ""
  int32_t Group = -1;                      // the enemy group concerned, or -1
  std::string Text;                        // what is wrong and what it does in play (UTF-8)
  const TStageObjectDef* Entry = nullptr;  // the stage entry concerned, or none
};

// What the checks read: the loaded skin, its enemies' flights, and how fast a ship without power-ups fires.
struct TWarningContext {
  const TGraphicDefList& Graphics;
  const TStageDefList& Stages;
  const TGraphicIds& Ids;
  TFlightCache& Flights;
  int32_t VolleyInterval;  // frames between volleys of a ship without power-ups
};

// Graphic definitions never used, hit areas beyond their pictures, animation entries that never show; in list order.
void FindGraphicWarnings(const TWarningContext& Skin, std::vector<TSkinWarning>& Warnings);
// Per stage, in stage order: its enemies' flights, its stage-clear enemies, its restart points and its groups.
void FindStageWarnings(const TWarningContext& Skin, std::vector<TSkinWarning>& Warnings);

// Both, graphics first.
std::vector<TSkinWarning> FindSkinWarnings(const TWarningContext& Skin);

// Whether entry Index of a loaded Animation (entries in frame order) ever shows, and the frames of its cycle it shows
// in: Start to End - 1.
bool EntryShows(const TAnimationDef& Animation, int32_t Index, uint64_t& Start, uint64_t& End);

// One line for people: "warning CODE: stage 2, frame 1200, id "bot", group 3: TEXT" (UTF-8), the parts a warning
// lacks left out.
std::string WarningLine(const TSkinWarning& Warning);
