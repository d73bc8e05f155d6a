// Small vocabularies shared by the stage data and the game objects: what an enemy may carry and how it flies.
#pragma once
#include <cstdint>

enum TItemKind : uint8_t { ikNone = 0, ikPowerUp = 1 };

// The item kinds, by TItemKind: the name a stage definition gives one ("item" attribute) and the graphic
// definition id of its drop. A new kind is its enumerator, a row here, its graphic's row in the game scene's
// graphics table (kGameGraphics, which checks at compile time that it follows these rows) and what collecting
// it does.
struct TItemKindRow {
  const char* Name;
  const char* GraphicId;
};
inline constexpr TItemKindRow kItemKinds[] = {
    /* ikNone    */ {"", ""},
    /* ikPowerUp */ {"powerup", "capsule"},
};

// Motion codes of enemies.
enum : uint8_t {
  mtStraight = 0,
  mtSTurn1 = 1,
  mtSTurn2 = 2,
  mtCTurn1 = 3,
  mtCTurn2 = 4,
  mtZigzag1 = 5,
  mtZigzag2 = 6,
  mtBoss1 = 7
};
