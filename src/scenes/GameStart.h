// Where a game begins when it does not begin at the start: a stage (counted from 1, as the stage titles count),
// a stage frame, and the power-ups the ship has from the first frame. A skin author's way to the part being made.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "PlayerShip.h"

struct TShipPower {
  int32_t Speed = TEmu::StartSpeed;
  uint8_t ShotType = stNormal;
  int32_t Options = 0;
};

struct TGameStart {
  int32_t Stage = 1;
  uint32_t Frame = 0;
  TShipPower Power;
};

// Reads a power list such as "double,options=2,speed=6": the words "double" and "laser" (one of them), and
// "speed=N" (4 to 9) and "options=N" (0 to 4), each at most once, separated by commas. False with the reason
// in Error for anything else.
bool ParsePowerList(std::string_view Text, TShipPower& Power, std::string& Error);
