// The graphics card the software Direct3D answers for. The software device is its own card: any texture size
// up to its limit, no depth buffer, a hardware device without transform and lighting. Tests stand another card
// in its place (one that wants power-of-two or square textures, has no hardware device, or runs out of video
// memory) to meet in the game's device code what this machine does not have; the program never does, so the
// device it ships asks no one.
#pragma once
#include "d3d9.h"

class TD3D9Machine {
 public:
  virtual ~TD3D9Machine() = default;
  // Turns the software device's capabilities for DeviceType into this card's.
  virtual void AdjustCaps(D3DDEVTYPE DeviceType, D3DCAPS9& Caps) const = 0;
  // D3D_OK when GetDeviceCaps answers for DeviceType, or the card's failure.
  virtual HRESULT DeviceCaps(D3DDEVTYPE DeviceType) const = 0;
  // D3D_OK when CreateDevice can make a device of DeviceType, or the card's failure; asked once the call's own
  // arguments have been checked.
  virtual HRESULT DeviceCreation(D3DDEVTYPE DeviceType) const = 0;
  // Whether depth-stencil surfaces of Format can be made (never, on the software card).
  virtual bool DepthStencilFormat(D3DFORMAT Format) const = 0;
  // False for a texture format the card lacks though the software device has it.
  virtual bool TextureFormat(D3DFORMAT Format) const = 0;
  // D3D_OK, or how CreateTexture of a Width x Height texture fails on this card; asked once the software
  // device has accepted the call.
  virtual HRESULT TextureCreation(UINT Width, UINT Height) = 0;
};

// The card in place of the software device's own from now on (not owned); nullptr puts the software card back.
void SetD3D9Machine(TD3D9Machine* Machine);
// The card standing in, or nullptr for the software card.
TD3D9Machine* D3D9Machine();
