// The ids the game looks up when a game starts, in its order: the power-up meter's first (they must be sprites),
// then the shots, explosion, capsule and bullet, then the ship and its options.
#pragma once

inline constexpr const char* kRequiredIds[] = {
    "txtspeed", "txtmissile", "txtdouble", "txtlaser", "txtoption", "txtshield", "bgpowerup", "bgpowerupselected",
    "shot",     "laser",      "explosion", "capsule",  "bullet",    "ship",      "option"};
inline constexpr int kMeterIdCount = 8;
