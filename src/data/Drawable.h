// What a graphic definition reads of the object it draws. The game's visible objects are drawables; the
// definitions draw them through this, without knowing the object classes above them.
#pragma once
#include <cstdint>

struct TDrawPlacement {
  int32_t X = 0;  // where the graphic's origin goes
  int32_t Y = 0;
  bool OnTop = false;    // the overlay queue
  bool OwnSize = false;  // drawn at Width x Height instead of the graphic's own size
  int32_t Width = 0;
  int32_t Height = 0;
  uint32_t Elapsed = 0;  // frames lived, for animations
};

class TDrawable {
 public:
  virtual TDrawPlacement Placement() const = 0;

 protected:
  ~TDrawable() = default;
};
