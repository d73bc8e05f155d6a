// The rate a ship without power-ups fires at, measured on the game's own ship with the fire key held, so that the
// warnings judge an enemy's time on the field by what a player can really do.
#pragma once
#include <cstdint>

class TGraphicDefList;

// Frames from one volley to the next of a ship without power-ups (one shot each, one hit point each). Needs the ids
// the ship is built from ("ship", "option", "shot", "laser", "bullet").
int32_t PlainShipVolleyInterval(const TGraphicDefList& Graphics);
