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
  std::unique_ptr<TDGTexture> MakeTexture(uint32_t width, uint32_t height, uint32_t fillColor = 0,
                                          std::vector<D3DFORMAT> formats = {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4,
                                                                            D3DFMT_A1R5G5B5}) {
    auto texture = std::make_unique<TDGTexture>(&DG, "", formats, 0, D3DPOOL_MANAGED, 0);
    texture->FillColor = fillColor;
    if (width > 0 || height > 0) texture->SetSize(width, height);
    return texture;
  }

  THeadlessWindow Window;
  TVUDader DG;
};
