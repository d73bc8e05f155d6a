// Where a game begins when it does not begin at the start: a stage (counted from 1, as the stage titles count),
// a stage frame, and the power-ups the ship has from the first frame. A skin author's way to the part being made.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "PlayerShip.h"

struct TShipPower {
  int32_t Speed = TEmu::kStartSpeed;
  uint8_t ShotType = stNormal;
  int32_t Options = 0;
};

// A ship already in play: where it is and the ships left. A game rebuilt around it does not fly it in.
struct TShipInPlay {
  int32_t X = 0, Y = 0;
  int32_t Lives = TEmu::kStartLives;
};

struct TGameStart {
  int32_t Stage = 1;
  uint32_t Frame = 0;
  TShipPower Power;
  std::optional<TShipInPlay> Ship;  // none: the ship flies in from the left edge
};

// Reads a power list such as "double,options=2,speed=6": the words "double" and "laser" (one of them), and
// "speed=N" (4 to 9) and "options=N" (0 to 4), each at most once, separated by commas. False with the reason
// in Error for anything else.
bool ParsePowerList(std::string_view Text, TShipPower& Power, std::string& Error);
