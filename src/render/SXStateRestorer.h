// Remembers device render and texture-stage states so they can be put back later. The renderer
// creates one per scene; saving a state records its current value once, restoring writes all
// recorded values back and forgets them.
#pragma once
#include <bitset>
#include <cstdint>

#include "TObject.h"
#include "d3d9.h"

class TVUDader;

class TSXStateRestorer : public TObject {
 public:
  static constexpr int kStageCount = 8;

  explicit TSXStateRestorer(TVUDader* Device);

  void SaveRenderState(D3DRENDERSTATETYPE State);
  void SaveTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE State);
  void RestoreStates();

  int32_t SavedRenderStateCount() const { return renderStates_.Count; }
  int32_t SavedTextureStageStateCount(DWORD Stage) const { return stageStates_[Stage].Count; }

 private:
  // States are numbered below 256; Saved names those recorded, Values holds their values.
  struct TStateSet {
    std::bitset<256> Saved;
    DWORD Values[256] = {};
    int32_t Count = 0;
  };

  TVUDader* FDevice;
  TStateSet renderStates_;
  TStateSet stageStates_[kStageCount];
};
