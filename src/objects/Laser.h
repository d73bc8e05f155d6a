// The player's beam: grows out of its emitter, detaches and sweeps to the right, following the emitter's height.
#pragma once
#include <cstdint>

#include "Shots.h"

class TLaser : public TShot {
 public:
  TVisible* Owner;
  int32_t MaxLength;
  bool Growing = true;
  int32_t Length = 1;

  TLaser(int32_t X, int32_t Y, TGraphicDef* Graphic, TVisible* Owner);

  void Update(uint32_t Frames) override;
  bool IsFinished() const override;
  int32_t Width() const override;
  int32_t Height() const override;
  // A 6-pixel band centred on Y over the beam's length, whatever the graphic's hit area.
  void GetRect(TRect& Rect) const override;
};
