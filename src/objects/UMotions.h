// Motion codes of enemies and the fixed waypoint paths some of them fly, in screen pixels.
#pragma once
#include <cstdint>

// Motion codes as stored in an enemy definition (names as in stagedef.xml).
enum TMotionCode : uint8_t {
  mcStraight = 0,  // "straight": left by Speed per frame
  mcSturn1 = 1,    // "sturn1": waypoint path
  mcSturn2 = 2,    // "sturn2"
  mcCturn1 = 3,    // "cturn1"
  mcCturn2 = 4,    // "cturn2"
  mcZigzag1 = 5,   // "zigzag1": left on a sine wave
  mcZigzag2 = 6,   // "zigzag2": the wave inverted
  mcBoss1 = 7,     // "boss1": repeating waypoint path
};

struct TPathPoint {
  int32_t X;
  int32_t Y;
};

// One waypoint path: Segments + 1 points, flown from the first; Repeat starts over at the end.
struct TMotionPath {
  const TPathPoint* Points;
  int32_t Segments;
  bool Repeat;
};

constexpr int32_t TurnPathSegments = 3;
constexpr int32_t BossPathSegments = 15;

extern const TPathPoint Sturn1Points[TurnPathSegments + 1];
extern const TPathPoint Sturn2Points[TurnPathSegments + 1];
extern const TPathPoint Cturn1Points[TurnPathSegments + 1];
extern const TPathPoint Cturn2Points[TurnPathSegments + 1];
extern const TPathPoint Boss1Points[BossPathSegments + 1];

// The path of a waypoint motion code (1 to 4 and 7); nullptr for the codes that fly no path.
const TMotionPath* MotionPath(uint8_t Motion);
