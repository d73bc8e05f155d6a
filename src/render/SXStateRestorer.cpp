#include "SXStateRestorer.h"

#include "VUDaderDevice.h"

TSXStateRestorer::TSXStateRestorer(TVUDader* Device) : FDevice(Device) {}

void TSXStateRestorer::SaveRenderState(D3DRENDERSTATETYPE State) {
  IDirect3DDevice9* d3dDevice = FDevice->D3DDevice();
  if (d3dDevice == nullptr || DWORD(State) >= 256 || renderStates_.Saved.test(State)) return;
  d3dDevice->GetRenderState(State, &renderStates_.Values[State]);
  renderStates_.Saved.set(State);
  ++renderStates_.Count;
}

void TSXStateRestorer::SaveTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE State) {
  IDirect3DDevice9* d3dDevice = FDevice->D3DDevice();
  if (d3dDevice == nullptr || Stage >= kStageCount || DWORD(State) >= 256) return;
  TStateSet& set = stageStates_[Stage];
  if (set.Saved.test(State)) return;
  d3dDevice->GetTextureStageState(Stage, State, &set.Values[State]);
  set.Saved.set(State);
  ++set.Count;
}

void TSXStateRestorer::RestoreStates() {
  IDirect3DDevice9* d3dDevice = FDevice->D3DDevice();
  for (DWORD s = 0; s < 256; ++s) {
    if (d3dDevice != nullptr && renderStates_.Saved.test(s))
      d3dDevice->SetRenderState(D3DRENDERSTATETYPE(s), renderStates_.Values[s]);
  }
  renderStates_.Saved.reset();
  renderStates_.Count = 0;
  for (DWORD stage = 0; stage < kStageCount; ++stage) {
    TStateSet& set = stageStates_[stage];
    for (DWORD s = 0; s < 256; ++s) {
      if (d3dDevice != nullptr && set.Saved.test(s))
        d3dDevice->SetTextureStageState(stage, D3DTEXTURESTAGESTATETYPE(s), set.Values[s]);
    }
    set.Saved.reset();
    set.Count = 0;
  }
}
