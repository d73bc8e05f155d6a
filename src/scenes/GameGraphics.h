// The graphic definitions the game scene looks up once when a game starts, one row each. The row's position is
// the index into TShootingScene::Graphics; the meter reads rows 0 to 5 as the labels of its six cells, so those
// rows follow the cells' order. The item kinds' rows follow the explosion's in kind order (ItemGraphic finds
// them there); a static_assert below keeps them in step with kItemKinds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "GameVocabulary.h"

enum TGameGraphic : int32_t {
  giTxtSpeed,
  giTxtMissile,
  giTxtDouble,
  giTxtLaser,
  giTxtOption,
  giTxtShield,
  giBgPowerUp,
  giBgPowerUpSelected,
  giShot,
  giLaser,
  giBullet,
  giExplosion,
  giCapsule,
  giGameGraphicCount
};

struct TGameGraphicRow {
  const char* Id;      // the graphic id the skin must define
  bool MustBeSprite;   // drawn as a plain texture (the meter), so an animation is refused when the game starts
  int32_t LookupRank;  // the order of the look-ups: a skin missing several ids is told about the first in this order
};

// clang-format off
inline constexpr TGameGraphicRow kGameGraphics[giGameGraphicCount] = {
    /* giTxtSpeed          */ {"txtspeed",                       true,  0},   // meter label of cell 0
    /* giTxtMissile        */ {"txtmissile",                     true,  1},
    /* giTxtDouble         */ {"txtdouble",                      true,  2},
    /* giTxtLaser          */ {"txtlaser",                       true,  3},
    /* giTxtOption         */ {"txtoption",                      true,  4},
    /* giTxtShield         */ {"txtshield",                      true,  5},   // meter label of cell 5
    /* giBgPowerUp         */ {"bgpowerup",                      true,  6},   // a cell's background
    /* giBgPowerUpSelected */ {"bgpowerupselected",              true,  7},   // the background under the ship's cursor
    /* giShot              */ {"shot",                           false, 8},   // the ship's forward shot
    /* giLaser             */ {"laser",                          false, 9},   // the ship's laser
    /* giBullet            */ {"bullet",                         false, 12},  // enemy bullets, the double's upward shot
    /* giExplosion         */ {"explosion",                      false, 10},  // every explosion
    /* giCapsule           */ {kItemKinds[ikPowerUp].GraphicId,  false, 11},  // the drop of item kind 1
};
// clang-format on

// The graphic of an item kind: item kinds count on from the explosion's row, kind 1 being the capsule. The top bit
// of an item byte is not part of the kind (skins may set it as a flag), so it is masked off; a kind without a row
// gives giGameGraphicCount, which the caller treats as "no drop".
constexpr int32_t ItemGraphic(uint8_t Item) {
  const int32_t row = giExplosion + (Item & 0x7F);
  return row < giGameGraphicCount ? row : giGameGraphicCount;
}

// Each item kind's row follows the explosion's, in kind order, and names the kind's graphic.
constexpr bool ItemRowsFollowKinds() {
  for (size_t kind = ikPowerUp; kind < std::size(kItemKinds); ++kind) {
    const size_t row = giExplosion + kind;
    if (row >= giGameGraphicCount || std::string_view(kGameGraphics[row].Id) != kItemKinds[kind].GraphicId) {
      return false;
    }
  }
  return true;
}
static_assert(ItemRowsFollowKinds(), "an item kind's graphic row is missing or out of kind order");
