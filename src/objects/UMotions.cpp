#include "UMotions.h"

const TPoint kSTurn1Points[kTurnPathSegments + 1] = {{780, 100}, {400, 100}, {780, 280}, {-100, 280}};
const TPoint kSTurn2Points[kTurnPathSegments + 1] = {{780, 500}, {400, 500}, {780, 320}, {-100, 320}};
const TPoint kCTurn1Points[kTurnPathSegments + 1] = {{800, 100}, {300, 100}, {500, 280}, {800, 280}};
const TPoint kCTurn2Points[kTurnPathSegments + 1] = {{800, 500}, {300, 500}, {500, 320}, {800, 320}};
const TPoint kBoss1Points[kBossPathSegments + 1] = {
    {800, 300}, {500, 300}, {500, 200}, {500, 400}, {500, 200}, {500, 400}, {500, 200}, {500, 400},
    {500, 200}, {500, 400}, {500, 300}, {100, 100}, {500, 300}, {100, 500}, {500, 300}, {800, 300}};

namespace {
const TMotionPath kSTurn1Path{kSTurn1Points, kTurnPathSegments, false};
const TMotionPath kSTurn2Path{kSTurn2Points, kTurnPathSegments, false};
const TMotionPath kCTurn1Path{kCTurn1Points, kTurnPathSegments, false};
const TMotionPath kCTurn2Path{kCTurn2Points, kTurnPathSegments, false};
const TMotionPath kBoss1Path{kBoss1Points, kBossPathSegments, true};
}  // namespace

const TMotionPath* MotionPath(uint8_t Motion) {
  switch (Motion) {
    case mtSTurn1: return &kSTurn1Path;
    case mtSTurn2: return &kSTurn2Path;
    case mtCTurn1: return &kCTurn1Path;
    case mtCTurn2: return &kCTurn2Path;
    case mtBoss1: return &kBoss1Path;
    default: return nullptr;
  }
}
