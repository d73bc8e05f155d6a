// How an enemy of a stage script flies, found by flying it with the game's own enemy code frame by frame: where it
// is first drawn, how long its hit area is on the field, and when it is gone. The skin checker's warnings and the
// contact sheet's timeline read it.
#pragma once
#include <cstdint>
#include <map>
#include <tuple>

class TEnemyDef;
class TGraphicDef;

// An enemy is followed for at most ten minutes of play; one still flying then is taken to fly on for ever.
constexpr int32_t kFlightHorizon = 36000;

// Frames count from the one the enemy appears in (0): it is created and moved once in that frame before it is
// drawn, so frame 0 is its first update.
struct TEnemyFlight {
  int32_t FirstX = 0;  // where it is first drawn
  int32_t FirstY = 0;
  int32_t FramesOnField = 0;  // frames in which its hit area overlaps the field (a strict overlap, as collisions)
  int32_t FirstOnField = -1;  // the first of them; -1 for none
  int32_t GoneAt = -1;        // the frame in which it is gone (path used up, or out on the left); -1: never
};

// Flies Def from its appearance until it is gone, for one lap of a repeating path, or to the horizon.
TEnemyFlight FlyEnemy(const TEnemyDef& Def);

// Flights of a whole skin: enemies that differ only in frame, hit points or item fly the same course, which is
// flown once.
class TFlightCache {
 public:
  const TEnemyFlight& Of(const TEnemyDef& Def);

 private:
  using TKey = std::tuple<uint8_t, int32_t, int32_t, int32_t, const TGraphicDef*>;
  std::map<TKey, TEnemyFlight> flights_;
};
