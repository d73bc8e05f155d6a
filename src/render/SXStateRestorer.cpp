#include "SXStateRestorer.h"

#include "VUDaderDevice.h"

TSXStateRestorer::TSXStateRestorer(TVUDader* Device) : FDevice(Device) {}

void TSXStateRestorer::SaveRenderState(D3DRENDERSTATETYPE State) {
  IDirect3DDevice9* D3DDevice = FDevice->D3DDevice();
  if (D3DDevice == nullptr || DWORD(State) >= 256 || FRenderStates.Saved.test(State)) return;
  D3DDevice->GetRenderState(State, &FRenderStates.Values[State]);
  FRenderStates.Saved.set(State);
  ++FRenderStates.Count;
}

void TSXStateRestorer::SaveTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE State) {
  IDirect3DDevice9* D3DDevice = FDevice->D3DDevice();
  if (D3DDevice == nullptr || Stage >= StageCount || DWORD(State) >= 256) return;
  TStateSet& Set = FStageStates[Stage];
  if (Set.Saved.test(State)) return;
  D3DDevice->GetTextureStageState(Stage, State, &Set.Values[State]);
  Set.Saved.set(State);
  ++Set.Count;
}

void TSXStateRestorer::RestoreStates() {
  IDirect3DDevice9* D3DDevice = FDevice->D3DDevice();
  for (DWORD s = 0; s < 256; ++s) {
    if (D3DDevice != nullptr && FRenderStates.Saved.test(s))
      D3DDevice->SetRenderState(D3DRENDERSTATETYPE(s), FRenderStates.Values[s]);
  }
  FRenderStates.Saved.reset();
  FRenderStates.Count = 0;
  for (DWORD Stage = 0; Stage < StageCount; ++Stage) {
    TStateSet& Set = FStageStates[Stage];
    for (DWORD s = 0; s < 256; ++s) {
      if (D3DDevice != nullptr && Set.Saved.test(s))
        D3DDevice->SetTextureStageState(Stage, D3DTEXTURESTAGESTATETYPE(s), Set.Values[s]);
    }
    Set.Saved.reset();
    Set.Count = 0;
  }
}
