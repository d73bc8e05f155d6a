#include "UMotions.h"

const TPathPoint Sturn1Points[TurnPathSegments + 1] = {{780, 100}, {400, 100}, {780, 280}, {-100, 280}};
const TPathPoint Sturn2Points[TurnPathSegments + 1] = {{780, 500}, {400, 500}, {780, 320}, {-100, 320}};
const TPathPoint Cturn1Points[TurnPathSegments + 1] = {{800, 100}, {300, 100}, {500, 280}, {800, 280}};
const TPathPoint Cturn2Points[TurnPathSegments + 1] = {{800, 500}, {300, 500}, {500, 320}, {800, 320}};
const TPathPoint Boss1Points[BossPathSegments + 1] = {
    {800, 300}, {500, 300}, {500, 200}, {500, 400}, {500, 200}, {500, 400}, {500, 200}, {500, 400},
    {500, 200}, {500, 400}, {500, 300}, {100, 100}, {500, 300}, {100, 500}, {500, 300}, {800, 300}};

namespace {
const TMotionPath Sturn1Path{Sturn1Points, TurnPathSegments, false};
const TMotionPath Sturn2Path{Sturn2Points, TurnPathSegments, false};
const TMotionPath Cturn1Path{Cturn1Points, TurnPathSegments, false};
const TMotionPath Cturn2Path{Cturn2Points, TurnPathSegments, false};
const TMotionPath Boss1Path{Boss1Points, BossPathSegments, true};
}  // namespace

const TMotionPath* MotionPath(uint8_t Motion) {
  switch (Motion) {
    case mcSturn1: return &Sturn1Path;
    case mcSturn2: return &Sturn2Path;
    case mcCturn1: return &Cturn1Path;
    case mcCturn2: return &Cturn2Path;
    case mcBoss1: return &Boss1Path;
    default: return nullptr;
  }
}
