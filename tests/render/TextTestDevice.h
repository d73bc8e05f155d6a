// A software graphics device on a headless window and textures made as the scenes make them.
#pragma once
#include <memory>
#include <vector>

#include "DGTexture.h"
#include "HeadlessWindow.h"
#include "VUDaderDevice.h"

class TTextTestDevice {
 public:
  // With the options the main window stores: nothing is logged next to the test runner, and a failed
  // device call cannot end the runner with a passing exit status.
  TTextTestDevice() : Window(800, 600), DG(&Window) {
    DG.SetDebugOption({});
    DG.Loaded();
  }

  // A managed texture with the scenes' format candidates (or the ones given), cleared to FillColor.
  std::unique_ptr<TDGTexture> MakeTexture(uint32_t Width, uint32_t Height, uint32_t FillColor = 0,
                                          std::vector<D3DFORMAT> Formats = {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4,
                                                                            D3DFMT_A1R5G5B5}) {
    auto texture = std::make_unique<TDGTexture>(&DG, "", Formats, 0, D3DPOOL_MANAGED, 0);
    texture->FillColor = FillColor;
    if (Width > 0 || Height > 0) texture->SetSize(Width, Height);
    return texture;
  }

  THeadlessWindow Window;
  TVUDader DG;
};
