#include "D3D9TestHooks.h"

#include <algorithm>

#include "D3D9Machine.h"

namespace {

bool Listed(const std::vector<D3DFORMAT>& Formats, D3DFORMAT Format) {
  return std::find(Formats.begin(), Formats.end(), Format) != Formats.end();
}

class TTestMachine final : public TD3D9Machine {
 public:
  explicit TTestMachine(TD3D9Hooks& Hooks) : hooks_(Hooks) {}

  void AdjustCaps(D3DDEVTYPE /*DeviceType*/, D3DCAPS9& Caps) const override {
    if (hooks_.ReportHardwareTnL) Caps.DevCaps |= D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    if (hooks_.ForcePow2) Caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
    if (hooks_.ForceSquareOnly) Caps.TextureCaps |= D3DPTEXTURECAPS_SQUAREONLY;
  }
  HRESULT DeviceCaps(D3DDEVTYPE DeviceType) const override {
    return DeviceType == D3DDEVTYPE_HAL && hooks_.FailHalCaps ? D3DERR_NOTAVAILABLE : D3D_OK;
  }
  HRESULT DeviceCreation(D3DDEVTYPE DeviceType) const override {
    return hooks_.FailCreateDevice ? D3DERR_NOTAVAILABLE : DeviceCaps(DeviceType);
  }
  bool DepthStencilFormat(D3DFORMAT Format) const override { return Listed(hooks_.DepthStencilFormats, Format); }
  bool TextureFormat(D3DFORMAT Format) const override { return !Listed(hooks_.RefusedTextureFormats, Format); }
  HRESULT TextureCreation(UINT Width, UINT Height) override {
    if (hooks_.ForcePow2 && ((Width & (Width - 1)) != 0 || (Height & (Height - 1)) != 0)) return D3DERR_INVALIDCALL;
    if (hooks_.ForceSquareOnly && Width != Height) return D3DERR_INVALIDCALL;
    if (hooks_.FailCreateTexture == 0) return D3D_OK;
    if (hooks_.FailCreateTexture > 0) --hooks_.FailCreateTexture;
    return D3DERR_OUTOFVIDEOMEMORY;
  }

 private:
  TD3D9Hooks& hooks_;
};

}  // namespace

TD3D9Hooks& D3D9Hooks() {
  static TD3D9Hooks hooks;
  static TTestMachine machine(hooks);
  if (D3D9Machine() != &machine) SetD3D9Machine(&machine);
  return hooks;
}
