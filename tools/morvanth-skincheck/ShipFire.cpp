#include "ShipFire.h"

#include "GraphicDefs.h"
#include "KeySource.h"
#include "KeyStates.h"
#include "PlayerShip.h"

namespace {

// Only the fire key, held for ever.
class TFireHeld : public TKeySource {
 public:
  bool IsKeyDown(uint8_t VirtualKey) const override { return VirtualKey == TEmu::kKeyFire; }
  bool IsApplicationActive() const override { return true; }
};

// Long enough for any interval the game could use.
constexpr int32_t kMeasureFrames = 600;

}  // namespace

int32_t PlainShipVolleyInterval(const TGraphicDefList& Graphics) {
  TFireHeld source;
  TKeyStates keys(source);
  TVisibleLinkedList shots;
  TEmu ship(200, 300, Graphics.Find("ship"), Graphics.Find("option"), Graphics.Find("shot"), Graphics.Find("laser"),
            Graphics.Find("bullet"), &keys, &shots);
  int32_t firstVolley = -1;
  int32_t count = 0;
  for (int32_t frame = 0; frame < kMeasureFrames; ++frame) {
    keys.Update();
    ship.Update(1);
    if (shots.Count() == count) continue;
    count = shots.Count();
    if (firstVolley >= 0) return frame - firstVolley;
    firstVolley = frame;
  }
  return kMeasureFrames;
}
