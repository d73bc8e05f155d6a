#include "BoundKeys.h"

bool TBoundKeys::IsKeyDown(uint8_t VirtualKey) const {
  if (pads_ != nullptr && pads_->IsKeyDown(VirtualKey)) return true;
  if (bindings_ != nullptr) {
    for (const TKeyActionInfo& action : kKeyActions) {
      if (action.GameKey != VirtualKey) continue;
      return keyboard_.IsKeyDown(bindings_->Key(action.Action)) ||
             (VirtualKey == VK_RETURN && keyboard_.IsKeyDown(VK_RETURN));
    }
    // A key bound to an action stands for that action alone.
    if (bindings_->ActionOfKey(VirtualKey) != kaCount) return false;
  }
  return keyboard_.IsKeyDown(VirtualKey);
}
