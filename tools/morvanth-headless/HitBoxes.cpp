#include "HitBoxes.h"

#include <algorithm>

#include "EnemyList.h"
#include "UShooting.h"
#include "Visible.h"

namespace {
void Outline(const TVisible& Item, uint32_t Color, std::vector<uint32_t>& Pixels, int32_t Width, int32_t Height) {
  TRect r;
  Item.GetRect(r);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  const int32_t right = r.Right - 1, bottom = r.Bottom - 1;
  auto put = [&](int32_t X, int32_t Y) {
    if (X >= 0 && X < Width && Y >= 0 && Y < Height) Pixels[static_cast<size_t>(Y) * Width + X] = Color;
  };
  for (int32_t x = std::max(r.Left, 0); x <= std::min(right, Width - 1); ++x) {
    put(x, r.Top);
    put(x, bottom);
  }
  for (int32_t y = std::max(r.Top, 0); y <= std::min(bottom, Height - 1); ++y) {
    put(r.Left, y);
    put(right, y);
  }
}

void OutlineAll(const TVisibleLinkedList& List, uint32_t Color, std::vector<uint32_t>& Pixels, int32_t Width,
                int32_t Height) {
  for (TLinkedItem* item = List.First(); item != nullptr; item = item->Next()) {
    Outline(*static_cast<const TVisible*>(item), Color, Pixels, Width, Height);
  }
}
}  // namespace

void DrawHitBoxes(const TCustomScene* Scene, std::vector<uint32_t>& Pixels, int32_t Width, int32_t Height) {
  const auto* game = dynamic_cast<const TShootingScene*>(Scene);
  if (game == nullptr) return;
  OutlineAll(*game->Drops, kCapsuleBox, Pixels, Width, Height);
  OutlineAll(*game->ShotList, kShotBox, Pixels, Width, Height);
  OutlineAll(*game->Enemies, kEnemyBox, Pixels, Width, Height);
  OutlineAll(*game->EnemyShots, kBulletBox, Pixels, Width, Height);
  // As the picture shows them: the ship and its options only while the ship is in play.
  if (game->Ship->Energy > 0) {
    for (int32_t i = 0; i < game->Ship->OptionCount; ++i) {
      Outline(*game->Ship->Options[i], kOptionBox, Pixels, Width, Height);
    }
    Outline(*game->Ship, kShipBox, Pixels, Width, Height);
  }
}
