#include "UMotions.h"

const TPoint STurn1Points[TurnPathSegments + 1] = {{780, 100}, {400, 100}, {780, 280}, {-100, 280}};
const TPoint STurn2Points[TurnPathSegments + 1] = {{780, 500}, {400, 500}, {780, 320}, {-100, 320}};
const TPoint CTurn1Points[TurnPathSegments + 1] = {{800, 100}, {300, 100}, {500, 280}, {800, 280}};
const TPoint CTurn2Points[TurnPathSegments + 1] = {{800, 500}, {300, 500}, {500, 320}, {800, 320}};
const TPoint Boss1Points[BossPathSegments + 1] = {
    {800, 300}, {500, 300}, {500, 200}, {500, 400}, {500, 200}, {500, 400}, {500, 200}, {500, 400},
    {500, 200}, {500, 400}, {500, 300}, {100, 100}, {500, 300}, {100, 500}, {500, 300}, {800, 300}};

namespace {
const TMotionPath STurn1Path{STurn1Points, TurnPathSegments, false};
const TMotionPath STurn2Path{STurn2Points, TurnPathSegments, false};
const TMotionPath CTurn1Path{CTurn1Points, TurnPathSegments, false};
const TMotionPath CTurn2Path{CTurn2Points, TurnPathSegments, false};
const TMotionPath Boss1Path{Boss1Points, BossPathSegments, true};
}  // namespace

const TMotionPath* MotionPath(uint8_t Motion) {
  switch (Motion) {
    case mtSTurn1: return &STurn1Path;
    case mtSTurn2: return &STurn2Path;
    case mtCTurn1: return &CTurn1Path;
    case mtCTurn2: return &CTurn2Path;
    case mtBoss1: return &Boss1Path;
    default: return nullptr;
  }
}
