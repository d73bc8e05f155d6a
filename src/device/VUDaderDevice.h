// TVUDader: the graphics device component of the main window. Owns the IDirect3D9 object and the
// windowed device with its back buffers, creates the device at the window's client size, re-creates
// it at another size, resets it after loss, and drives the resource registry around all of that.
// Every step is narrated in the device debug log.
//
// Life cycle, as the main window uses it:
//   TVUDader* DG = new TVUDader(Window);   // Window's client area still 792 x 566
//   DG->SetDebugOption({});                // the published properties, as the form stores them
//   DG->Loaded();                          // creates D3D and the first device at the client size
//   DG->SetWindowMode(800, 600, {}, 0, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE, 0);  // re-created
//   ... textures and the sprite renderer, destroyed before the component ...
//   delete DG;
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "DebugLog.h"
#include "ResourceRegistry.h"
#include "TObject.h"
#include "d3d9.h"

class TVUDader : public TObject {
 public:
  // Control is the owner window the device renders into (not owned). Sets the published
  // properties to their defaults: every debug option, hardware device, hardware vertex processing.
  explicit TVUDader(TWindowHost* Owner);
  // Frees resources still registered (logging each), releases the device and the 3D API object.
  ~TVUDader() override;
  TVUDader(const TVUDader&) = delete;
  TVUDader& operator=(const TVUDader&) = delete;

  // Runs once the published properties are set: creates the 3D API object and a first device at
  // the client size of Control.
  void Loaded();

  // Releases any device, creates a windowed device of Width x Height and gives the window that
  // client size. DepthStencilFormats are tried in order; empty asks for no depth buffer.
  void SetWindowMode(int32_t Width, int32_t Height, const std::vector<D3DFORMAT>& DepthStencilFormats,
                     UINT PresentationInterval, D3DSWAPEFFECT SwapEffect, D3DMULTISAMPLE_TYPE MultiSampleType,
                     UINT Adapter);
  // Resets the device after loss (the frame loop calls it on D3DERR_DEVICENOTRESET).
  void ResetDevice();

  int32_t RegisterResource(TObject* Owner, const std::string& Name, TDGResourceHandler OnRelease,
                           TDGResourceHandler OnRebuild, TDGResourceHandler OnBeforeReset,
                           TDGResourceHandler OnAfterReset) {
    return FResources.RegisterResource(Owner, Name, std::move(OnRelease), std::move(OnRebuild),
                                       std::move(OnBeforeReset), std::move(OnAfterReset));
  }
  void UnregisterResource(int32_t ID) { FResources.UnregisterResource(ID); }
  void ReleaseAllResources() { FResources.ReleaseAllResources(); }
  void RebuildAllResources() { FResources.RebuildAllResources(); }
  const TDGResourceRegistry& Resources() const { return FResources; }

  // Published properties.
  TDGDebugOption DebugOption() const { return FDebugOption; }
  // Stores the set and sets the log's halt, log and detail switches from it.
  void SetDebugOption(TDGDebugOption Value);
  bool UseREFDevice = false;
  bool UseSoftwareVertexProcessing = false;

  IDirect3D9* D3D() const { return FD3D; }
  IDirect3DDevice9* D3DDevice() const { return FD3DDevice; }
  UINT Adapter() const { return FAdapter; }
  D3DDEVTYPE DeviceType() const { return FDeviceType; }
  int32_t BackBufferCount() const { return FBackBufferCount; }
  // The back buffer at Index; null outside 0 .. BackBufferCount - 1.
  IDirect3DSurface9* BackBuffer(int32_t Index) const;
  IDirect3DSurface9* DepthStencil() const { return FDepthStencil; }
  bool Windowed() const { return FWindowed; }
  D3DFORMAT BackBufferFormat() const { return FBackBufferFormat; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  const D3DPRESENT_PARAMETERS& PresentParams() const { return FPresentParams; }
  TWindowHost* Control() const { return FControl; }

 private:
  void InitScreen(UINT Adapter, const D3DDISPLAYMODE& Mode, D3DMULTISAMPLE_TYPE MultiSampleType,
                  const std::vector<D3DFORMAT>& DepthStencilFormats, D3DSWAPEFFECT SwapEffect,
                  UINT PresentationInterval);
  D3DFORMAT FindDepthStencilFormat(UINT Adapter, D3DDEVTYPE DeviceType, const D3DPRESENT_PARAMETERS& Params,
                                   const std::vector<D3DFORMAT>& DepthStencilFormats);
  void CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, D3DPRESENT_PARAMETERS& Params, DWORD BehaviorFlags,
                    HWND FocusWindow);
  void FetchSurfaces();
  void ReleaseDevice();

  IDirect3D9* FD3D = nullptr;
  IDirect3DDevice9* FD3DDevice = nullptr;
  std::vector<IDirect3DSurface9*> FBackBuffers;
  IDirect3DSurface9* FDepthStencil = nullptr;
  int32_t FBackBufferCount = 0;
  TDGDebugOption FDebugOption;
  bool FWindowed = false;
  D3DFORMAT FBackBufferFormat = D3DFMT_UNKNOWN;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  TWindowHost* FControl;
  D3DPRESENT_PARAMETERS FPresentParams{};
  UINT FAdapter = 0;
  D3DDEVTYPE FDeviceType = D3DDEVTYPE_HAL;
  TDGResourceRegistry FResources;
};
