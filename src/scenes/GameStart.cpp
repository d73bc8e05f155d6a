#include "GameStart.h"

#include <charconv>

namespace {
bool ReadNumber(std::string_view Text, int32_t Min, int32_t Max, int32_t& Value) {
  const char* end = Text.data() + Text.size();
  const auto [stop, status] = std::from_chars(Text.data(), end, Value);
  return status == std::errc{} && stop == end && Value >= Min && Value <= Max;
}
}  // namespace

bool ParsePowerList(std::string_view Text, TShipPower& Power, std::string& Error) {
  TShipPower power;
  bool speedGiven = false, optionsGiven = false, shotGiven = false;
  while (true) {
    const size_t comma = Text.find(',');
    const std::string_view item = Text.substr(0, comma);
    const size_t equals = item.find('=');
    const std::string_view name = item.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? std::string_view() : item.substr(equals + 1);
    if ((name == "double" || name == "laser") && equals == std::string_view::npos) {
      if (shotGiven) {
        Error = "--power takes one of double and laser, once";
        return false;
      }
      shotGiven = true;
      power.ShotType = name == "double" ? stDouble : stLaser;
    } else if (name == "speed" || name == "options") {
      const bool speed = name == "speed";
      bool& given = speed ? speedGiven : optionsGiven;
      const int32_t min = speed ? TEmu::kStartSpeed : 0, max = speed ? TEmu::kTopSpeed : TEmu::kOptionMax;
      int32_t number = 0;
      if (given || !ReadNumber(value, min, max, number)) {
        Error = "--power: " + std::string(name) + "=N takes a whole number from " + std::to_string(min) + " to " +
                std::to_string(max) + ", once, not '" + std::string(item) + "'";
        return false;
      }
      given = true;
      (speed ? power.Speed : power.Options) = number;
    } else {
      Error = "--power: unknown power-up '" + std::string(item) +
              "' (double, laser, speed=N and options=N, separated by commas)";
      return false;
    }
    if (comma == std::string_view::npos) break;
    Text.remove_prefix(comma + 1);
  }
  Power = power;
  return true;
}
