// Small vocabularies shared by the stage data and the game objects: what an enemy may carry and how it flies.
#pragma once
#include <cstdint>

enum TItemKind : uint8_t { ikNone = 0, ikPowerUp = 1 };

// Graphic definition ids of the item kinds ("" for none).
inline constexpr const char* ItemGraphicIds[] = {"", "capsule"};

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
