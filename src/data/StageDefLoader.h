// Reading stagedef.xml into a stage list.
#pragma once
#include <cstdint>
#include <string>

#include "StageDefs.h"

struct TSkinPlace;

// Appends the stages of Place's xml/stagedef.xml to List. False (and no stage) when the file does not
// exist or its root element has no child nodes. Raises the readers' and Find's exceptions; stages appended
// before a failure stay in the list.
bool LoadStageDefs(TStageDefList& List, const TSkinPlace& Place);

// The number of stages Place's stagedef.xml holds (0 without the file), read without building them. Raises the
// XML layer's exceptions for a file that does not parse.
int32_t CountStages(const TSkinPlace& Place);

// "straight" 0, "sturn1" 1, "sturn2" 2, "cturn1" 3, "cturn2" 4, "zigzag1" 5, "zigzag2" 6, "boss1" 7;
// anything else 0.
uint8_t MotionFromName(const std::string& Name);
// "powerup" gives ikPowerUp, anything else ikNone.
TItemKind ItemFromName(const std::string& Name);
