#include "VUDaderDevice.h"

#include <cfenv>
#include <utility>

#include "DGFormat.h"
#include "PixelFormats.h"
#include "TeardownStep.h"
#include "TextEncoding.h"

namespace {

constexpr BOOL kAllBitsSet = BOOL(-1);  // the API's TRUE as the device writes it: 0xFFFFFFFF

void Blank() { WriteDetail(std::string()); }

// Floating point as the device expects it: pending exceptions cleared, all exceptions masked,
// rounding to nearest.
void ResetFloatingPoint() {
  std::feclearexcept(FE_ALL_EXCEPT);
#if defined(__GLIBC__)
  fedisableexcept(FE_ALL_EXCEPT);
#endif
  std::fesetround(FE_TONEAREST);
}

}  // namespace

TVUDader::TVUDader(TWindowHost* Owner) : FControl(Owner) {
  SetDebugOption({dgoHaltOnError, dgoDebugMessage, dgoDetailedLog});
  UseREFDevice = false;
  UseSoftwareVertexProcessing = false;
}

void TVUDader::SetDebugOption(TDGDebugOption Value) {
  FDebugOption = Value;
  ApplyDebugOption(Value);
}

IDirect3DSurface9* TVUDader::BackBuffer(int32_t Index) const {
  if (Index < 0 || size_t(Index) >= FBackBuffers.size()) return nullptr;
  return FBackBuffers[size_t(Index)];
}

void TVUDader::Loaded() {
  FD3DDevice = nullptr;
  FBackBuffers.clear();
  FDepthStencil = nullptr;
  FBackBufferCount = 0;
  SetDebugOption(FDebugOption);
  ResetFloatingPoint();

  Blank();
  WriteDetail(Jp("■■■起動時の初期化をします■■■"));
  ++LogIndent;
  WriteDetail(Jp("Direct3Dを生成します"));
  FD3D = Direct3DCreate9(D3D_SDK_VERSION);
  if (FD3D == nullptr) {
    // The group stays open: later lines are indented one level deeper.
    CheckResult(1, Jp("Direct3Dオプジェクトすら生成できません、論外"));
    return;
  }
  WriteDetail(Jp("ウィンドウのクライアント領域のサイズに合わせて初期化を開始します"));
  const int32_t clientWidth = FControl != nullptr ? FControl->ClientWidth() : 0;
  const int32_t clientHeight = FControl != nullptr ? FControl->ClientHeight() : 0;
  SetWindowMode(clientWidth, clientHeight, {}, D3DPRESENT_INTERVAL_DEFAULT, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE,
                0);
  --LogIndent;
  WriteDetail(Jp("■■■VUDader 起動しました■■■"));
  Blank();
}

void TVUDader::SetWindowMode(int32_t Width, int32_t Height, const std::vector<D3DFORMAT>& DepthStencilFormats,
                             UINT PresentationInterval, D3DSWAPEFFECT SwapEffect, D3DMULTISAMPLE_TYPE MultiSampleType,
                             UINT Adapter) {
  Blank();
  WriteDetail(Jp("■■■Windowモードへ移行します■■■"));
  ++LogIndent;
  ReleaseDevice();
  // Without the 3D API object (its creation failed) there is nothing to create a device with.
  if (FD3D != nullptr) {
    D3DDISPLAYMODE mode{};
    FD3D->GetAdapterDisplayMode(Adapter, &mode);
    mode.Width = UINT(Width);
    mode.Height = UINT(Height);
    InitScreen(Adapter, mode, MultiSampleType, DepthStencilFormats, SwapEffect, PresentationInterval);
  }
  if (FControl != nullptr) {
    const int32_t frameWidth = FControl->WindowWidth() - FControl->ClientWidth();
    const int32_t frameHeight = FControl->WindowHeight() - FControl->ClientHeight();
    FControl->SetWindowPos(FControl->Left(), FControl->Top(), Width + frameWidth, Height + frameHeight);
  }
  --LogIndent;
  WriteDetail(Jp("■■■Windowモードへ移行しました■■■"));
  Blank();
}

void TVUDader::InitScreen(UINT Adapter, const D3DDISPLAYMODE& Mode, D3DMULTISAMPLE_TYPE MultiSampleType,
                          const std::vector<D3DFORMAT>& DepthStencilFormats, D3DSWAPEFFECT SwapEffect,
                          UINT PresentationInterval) {
  Blank();
  WriteDetail(Jp("■■■画面モードを初期化します■■■"));
  ++LogIndent;

  D3DPRESENT_PARAMETERS params{};
  params.BackBufferWidth = Mode.Width;
  params.BackBufferHeight = Mode.Height;
  params.BackBufferFormat = Mode.Format;
  params.BackBufferCount = 0;
  params.MultiSampleType = MultiSampleType;
  params.MultiSampleQuality = 0;
  params.SwapEffect = SwapEffect;
  params.hDeviceWindow = FControl;
  params.Windowed = kAllBitsSet;
  params.EnableAutoDepthStencil = DepthStencilFormats.empty() ? 0 : kAllBitsSet;
  params.Flags = 0;
  params.FullScreen_RefreshRateInHz = 0;
  params.PresentationInterval = PresentationInterval;

  D3DADAPTER_IDENTIFIER9 identifier{};
  FD3D->GetAdapterIdentifier(Adapter, 0, &identifier);
  identifier.Driver[sizeof identifier.Driver - 1] = '\0';
  identifier.Description[sizeof identifier.Description - 1] = '\0';
  WriteDetail(DGFormat("Driver : %s", identifier.Driver));
  WriteDetail(DGFormat("Description : %s", identifier.Description));
  WriteDetail(DGFormat("VendorID : %.8X, DeviceID : %.8X, SubSysID : %.8X, Revision : %.8X", identifier.VendorId,
                       identifier.DeviceId, identifier.SubSysId, identifier.Revision));
  WriteDetail(DGFormat(Jp("ウィンドウモード %dx%dで初期化します"), int32_t(Mode.Width), int32_t(Mode.Height)));

  D3DCAPS9 caps{};
  const HRESULT capsResult = FD3D->GetDeviceCaps(Adapter, D3DDEVTYPE_HAL, &caps);
  if (FAILED(capsResult) || UseREFDevice) {
    WriteDetail(Jp("ソフトウェアエミュレーションを利用します"));
    params.AutoDepthStencilFormat = FindDepthStencilFormat(Adapter, D3DDEVTYPE_REF, params, DepthStencilFormats);
    WriteDetail(Jp("デプスステンシルサーフェスのフォーマット...") + FormatName(params.AutoDepthStencilFormat));
    CreateDevice(Adapter, D3DDEVTYPE_REF, params, D3DCREATE_SOFTWARE_VERTEXPROCESSING, FControl);
  } else {
    WriteDetail(Jp("ハードウェアアクセラレーションを利用します"));
    params.AutoDepthStencilFormat = FindDepthStencilFormat(Adapter, D3DDEVTYPE_HAL, params, DepthStencilFormats);
    WriteDetail(Jp("デプスステンシルサーフェスのフォーマット...") + FormatName(params.AutoDepthStencilFormat));
    if ((caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0 && !UseSoftwareVertexProcessing) {
      WriteDetail(Jp("ハードウェアT&Lを利用します"));
      CreateDevice(Adapter, D3DDEVTYPE_HAL, params, D3DCREATE_HARDWARE_VERTEXPROCESSING, FControl);
    } else {
      WriteDetail(Jp("ソフトウェアT&Lを利用します"));
      CreateDevice(Adapter, D3DDEVTYPE_HAL, params, D3DCREATE_SOFTWARE_VERTEXPROCESSING, FControl);
    }
  }

  --LogIndent;
  WriteDetail(Jp("■■■画面モードを初期化しました■■■"));
  Blank();
}

D3DFORMAT TVUDader::FindDepthStencilFormat(UINT Adapter, D3DDEVTYPE DeviceType, const D3DPRESENT_PARAMETERS& Params,
                                           const std::vector<D3DFORMAT>& DepthStencilFormats) {
  if (Params.EnableAutoDepthStencil != 0) {
    for (D3DFORMAT format : DepthStencilFormats) {
      if (FD3D->CheckDepthStencilMatch(Adapter, DeviceType, Params.BackBufferFormat, Params.BackBufferFormat, format) ==
          D3D_OK)
        return format;
    }
  }
  WriteDetail(Jp("希望のデプスステンシルサーフェスのフォーマットが見つかりませんでした"));
  return D3DFMT_UNKNOWN;
}

void TVUDader::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, D3DPRESENT_PARAMETERS& Params, DWORD BehaviorFlags,
                            HWND FocusWindow) {
  if (FD3DDevice != nullptr) {
    WriteDetail(Jp("新しいデバイスの生成の前に、全ての関連オブジェクトを解放します"));
    ReleaseDevice();
  }
  WriteDetail(Jp("Direct3DDeviceオブジェクトの生成を行います"));
  FD3DDevice = nullptr;
  CheckResult(FD3D->CreateDevice(Adapter, DeviceType, FocusWindow, BehaviorFlags, &Params, &FD3DDevice),
              Jp("Direct3DDeviceオブジェクトの生成に失敗しました"));
  // Everything below needs the device: after a failed creation the component stays without one,
  // and resources stay released until the next SetWindowMode succeeds.
  if (FD3DDevice == nullptr) return;

  FBackBufferCount = int32_t(Params.BackBufferCount);
  FBackBuffers.assign(Params.BackBufferCount, nullptr);
  FetchSurfaces();

  FPresentParams = Params;
  FDeviceType = DeviceType;
  FAdapter = Adapter;
  FWindowed = Params.Windowed != 0;
  FWidth = int32_t(Params.BackBufferWidth);
  FHeight = int32_t(Params.BackBufferHeight);
  FBackBufferFormat = Params.BackBufferFormat;

  RebuildAllResources();
}

void TVUDader::FetchSurfaces() {
  for (size_t i = 0; i < FBackBuffers.size(); ++i) {
    FBackBuffers[i] = nullptr;
    FD3DDevice->GetBackBuffer(0, UINT(i), D3DBACKBUFFER_TYPE_MONO, &FBackBuffers[i]);
  }
  FDepthStencil = nullptr;
  if (FAILED(FD3DDevice->GetDepthStencilSurface(&FDepthStencil))) FDepthStencil = nullptr;
}

void TVUDader::ResetDevice() {
  Blank();
  WriteDetail(Jp("■■■Direct3DDeviceをリセットします■■■"));
  ++LogIndent;
  FResources.CallBeforeReset();
  for (IDirect3DSurface9*& surface : FBackBuffers) {
    if (surface != nullptr) surface->Release();
    surface = nullptr;
  }
  if (FDepthStencil != nullptr) {
    FDepthStencil->Release();
    FDepthStencil = nullptr;
  }
  if (FD3DDevice != nullptr) {
    D3DPRESENT_PARAMETERS params = FPresentParams;
    CheckResult(FD3DDevice->Reset(&params), Jp("リセットに失敗しました"));
    FetchSurfaces();
  } else {
    CheckResult(D3DERR_INVALIDCALL, Jp("リセットに失敗しました"));
  }
  FResources.CallAfterReset();
  --LogIndent;
  WriteDetail(Jp("■■■Direct3DDeviceをリセットしました■■■"));
  Blank();
}

void TVUDader::ReleaseDevice() {
  Blank();
  WriteDetail(Jp("■■■Direct3Dデバイスを解放します■■■"));
  ++LogIndent;
  ReleaseAllResources();
  if (FDepthStencil != nullptr) {
    WriteDetail(Jp("デプスステンシルサーフェスを解放します"));
    CheckResult(HRESULT(std::exchange(FDepthStencil, nullptr)->Release()),
                Jp("デプスステンシルサーフェスの解放に失敗しました"));
  }
  if (!FBackBuffers.empty()) {
    WriteDetail(Jp("バックバッファを解放します"));
    for (size_t i = 0; i < FBackBuffers.size(); ++i) {
      // A slot left empty by a failed fetch has nothing to release.
      if (FBackBuffers[i] == nullptr) continue;
      CheckResult(HRESULT(std::exchange(FBackBuffers[i], nullptr)->Release()),
                  Jp("バックバッファ #") + std::to_string(i) + Jp("　の解放に失敗しました"));
    }
    FBackBuffers.clear();
  }
  if (FD3DDevice != nullptr) {
    WriteDetail(Jp("Direct3DDeviceオブジェクトの解放を行います"));
    CheckResult(HRESULT(std::exchange(FD3DDevice, nullptr)->Release()),
                Jp("Direct3DDeviceオブジェクトの解放に失敗しました"));
  }
  --LogIndent;
  WriteDetail(Jp("■■■Direct3Dデバイスを解放しました■■■"));
  Blank();
}

TVUDader::~TVUDader() {
  TeardownStep([this] {
    Blank();
    WriteDetail(Jp("■■■お別れの時がやってまいりました■■■"));
    ++LogIndent;
    FResources.FreeRemainingOwners();
    WriteDetail(Jp("VUDaderオブジェクトの解放に伴い、全ての関連オブジェクトを解放します"));
    ReleaseDevice();
    WriteDetail(Jp("Direct3Dオブジェクトの解放を行います"));
    if (FD3D != nullptr)
      CheckResult(HRESULT(std::exchange(FD3D, nullptr)->Release()), Jp("Direct3Dオブジェクトの解放に失敗しました"));
    --LogIndent;
    WriteDetail(Jp("■■■それではごきげんよう■■■"));
    Blank();
  });
}
