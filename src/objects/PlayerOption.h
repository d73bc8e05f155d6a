// A companion of the player's ship that retraces the ship's recorded path some moves behind it.
#pragma once
#include <cstdint>

#include "Visible.h"

class TEmu;

class TOption : public TMovable {
 public:
  bool Active = false;
  TEmu* Owner;
  int32_t HistoryIndex = 0;
  int32_t Number = 0;

  TOption(int32_t X, int32_t Y, TGraphicDef* Graphic, TEmu* Owner);

  // Moves to the owner's recorded position at HistoryIndex and steps the index on around the ring.
  void Follow();
  // Switching on places the option 10 * Number entries behind the owner's read position.
  void SetActive(bool Value);
};
