// The hit rectangles of a game frame drawn over its picture, one colour per kind: the ship green, its options
// cyan, the player's shots and lasers yellow, enemies red, enemy bullets magenta, capsules blue. A rectangle is
// outlined on its edge pixels (right and bottom exclusive, as the hit tests take them).
#pragma once
#include <cstdint>
#include <vector>

class TCustomScene;

inline constexpr uint32_t kShipBox = 0xFF00FF00, kOptionBox = 0xFF00FFFF, kShotBox = 0xFFFFFF00, kEnemyBox = 0xFFFF0000,
                          kBulletBox = 0xFFFF00FF, kCapsuleBox = 0xFF4080FF;

// Draws into Pixels (Width x Height ARGB, rows packed); nothing for a scene that is not a game.
void DrawHitBoxes(const TCustomScene* Scene, std::vector<uint32_t>& Pixels, int32_t Width, int32_t Height);
