// The fixed waypoint paths of the path-flying motion codes, in screen pixels. Every enemy with the same
// code flies the same course; the codes themselves (mtStraight ... mtBoss1) come with the enemy definition.
#pragma once
#include <cstdint>

#include "GameVocabulary.h"
#include "WinTypes.h"

// One waypoint path: Segments + 1 points, flown from the first; Repeat starts over at the end.
struct TMotionPath {
  const TPoint* Points;
  int32_t Segments;
  bool Repeat;
};

constexpr int32_t kTurnPathSegments = 3;
constexpr int32_t kBossPathSegments = 15;

extern const TPoint kSTurn1Points[kTurnPathSegments + 1];
extern const TPoint kSTurn2Points[kTurnPathSegments + 1];
extern const TPoint kCTurn1Points[kTurnPathSegments + 1];
extern const TPoint kCTurn2Points[kTurnPathSegments + 1];
extern const TPoint kBoss1Points[kBossPathSegments + 1];

// The path of a waypoint motion code (mtSTurn1 to mtCTurn2 and mtBoss1); nullptr for codes that fly none.
const TMotionPath* MotionPath(uint8_t Motion);
