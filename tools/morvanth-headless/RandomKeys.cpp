#include "RandomKeys.h"

#include "GameKeys.h"

namespace {
// Per frame, the chance (1 in Press) that a key goes down and (1 in Release) that a held key comes up. Enter is
// rare and short, or the game would spend its time paused; Z is held most of the time; the arrows wander;
// left Ctrl now and then speeds the ending. Escape is left out: it would cut every ending short.
struct TKeyOdds {
  uint8_t Key;
  uint32_t Press, Release;
};
constexpr TKeyOdds kOdds[] = {{VK_RETURN, 240, 2}, {VK_Z, 10, 20},  {VK_C, 60, 2},     {VK_LEFT, 30, 10},
                              {VK_RIGHT, 30, 10},  {VK_UP, 30, 10}, {VK_DOWN, 30, 10}, {VK_LCONTROL, 100, 30}};
}  // namespace

uint64_t TRandomKeys::Next() {
  // splitmix64: tiny, and the same numbers on every machine.
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

void TRandomKeys::Step(TScriptedKeySource& Keys) {
  for (const TKeyOdds& odds : kOdds) {
    bool& down = down_[odds.Key];
    if (Next() % (down ? odds.Release : odds.Press) == 0) down = !down;
    Keys.SetKey(odds.Key, down);
  }
}
