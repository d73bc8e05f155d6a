#include "SXScene.h"

#include <cmath>
#include <utility>

#include "DGTexture.h"
#include "TeardownStep.h"
#include "VUDaderDevice.h"
#include "WindowHost.h"

namespace {

D3DMATRIX IdentityMatrix() {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1.0f;
  return m;
}

// The six presets, numbered by position.
TSXBlendMode MakePreset(uint8_t Translucent, uint8_t AlphaTest, D3DCMPFUNC AlphaFunc, uint8_t AlphaBlend,
                        D3DBLEND SrcBlend, D3DBLEND DestBlend) {
  return TSXBlendMode{Translucent, AlphaTest, AlphaFunc, AlphaBlend, SrcBlend, DestBlend, D3DBLENDOP_ADD};
}

}  // namespace

TSXScene::TSXScene(TVUDader* Device, const std::string& Name) : FDevice(Device) {
  FOpaqueQueue = std::make_unique<TSXRenderingQueue>(Device, this);
  FTranslucentQueue = std::make_unique<TSXRenderingQueue>(Device, this);
  FOverlayQueue = std::make_unique<TSXRenderingQueue>(Device, this);
  FStateRestorer = std::make_unique<TSXStateRestorer>(Device);

  FResourceID = Device->RegisterResource(
      this, Name, nullptr, [this] { Restore(); }, nullptr, [this] { Restore(); });
  FName = Name;

  FBlendModes = {
      MakePreset(0, 0, D3DCMP_ALWAYS, 0, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA),   // opaque
      MakePreset(1, 0, D3DCMP_ALWAYS, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE),           // additive
      MakePreset(1, 0, D3DCMP_ALWAYS, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA),   // alpha blending
      MakePreset(1, 0, D3DCMP_ALWAYS, 1, D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR),       // darken
      MakePreset(1, 0, D3DCMP_ALWAYS, 1, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR),          // multiply
      MakePreset(0, 1, D3DCMP_GREATER, 0, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA),  // alpha test
  };
  SortTranslucent = true;

  const TWindowHost* window = Device->Control();
  const int32_t clientWidth = window != nullptr ? window->ClientWidth() : 0;
  const int32_t clientHeight = window != nullptr ? window->ClientHeight() : 0;
  SetViewport(0, 0, clientWidth, clientHeight);
  // A zero-width client would make the aspect a division by zero; 1.0 keeps the matrix finite.
  const float aspect = clientWidth != 0 ? float(clientHeight) / float(clientWidth) : 1.0f;
  SetProjection(true, 1.5707964f, aspect, 0.01f, 10000.0f);
  CheckCaps();
}

TSXScene::~TSXScene() {
  TeardownStep([this] {
    if (FResourceID >= 0) FDevice->UnregisterResource(std::exchange(FResourceID, -1));
  });
  FStateRestorer.reset();
  FTranslucentQueue.reset();
  FOpaqueQueue.reset();
  FOverlayQueue.reset();
}

void TSXScene::DrawSprite(const TVector2& Position, std::span<const TSXVertexSP, 4> Vertices, TDGTexture* Texture,
                          int32_t BlendMode, bool Smooth, bool Overlay, float Z, D3DTEXTUREADDRESS AddressU,
                          D3DTEXTUREADDRESS AddressV) {
  TSXRenderingQueue* queue;
  if (Overlay) {
    queue = FOverlayQueue.get();
    Z = 0.0f;
  } else if (FBlendModes[size_t(BlendMode)].Translucent) {
    queue = FTranslucentQueue.get();
  } else {
    queue = FOpaqueQueue.get();
  }
  TSXQuad quad;
  quad.Smooth = Smooth ? 1 : 0;
  quad.AddressU = AddressU;
  quad.AddressV = AddressV;
  quad.BlendMode = BlendMode;
  quad.Texture = Texture;
  quad.X = Position.X;
  quad.Y = Position.Y;
  quad.Z = Z;
  for (int c = 0; c < 4; ++c) quad.Vertices[c] = Vertices[size_t(c)];
  queue->AddQuad(quad);
}

void TSXScene::Render(bool ClearQueues) {
  IDirect3DDevice9* d3dDevice = FDevice->D3DDevice();
  if (d3dDevice == nullptr) {
    if (ClearQueues) {
      FOpaqueQueue->Clear();
      FTranslucentQueue->Clear();
      FOverlayQueue->Clear();
    }
    return;
  }
  const D3DMATRIX identity = IdentityMatrix();
  d3dDevice->SetTransform(D3DTS_VIEW, &identity);
  FOpaqueQueue->DrawQueue(false, ClearQueues);
  FTranslucentQueue->DrawQueue(SortTranslucent, ClearQueues);
  d3dDevice->SetRenderState(D3DRS_ZENABLE, 0);
  d3dDevice->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  d3dDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  // The overlay queue switches depth testing on again at its start; the comparison stays ALWAYS.
  FOverlayQueue->DrawQueue(false, ClearQueues);
  d3dDevice->SetRenderState(D3DRS_ZENABLE, 1);
  d3dDevice->SetRenderState(D3DRS_ZWRITEENABLE, 1);
  d3dDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  d3dDevice->SetTexture(0, nullptr);
}

void TSXScene::Clear(DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) {
  if (IDirect3DDevice9* d3dDevice = FDevice->D3DDevice()) d3dDevice->Clear(0, nullptr, Flags, Color, Z, Stencil);
}

void TSXScene::SetViewport(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  FViewport.X = DWORD(Left);
  FViewport.Y = DWORD(Top);
  FViewport.Width = DWORD(Right - Left);
  FViewport.Height = DWORD(Bottom - Top);
  FViewport.MinZ = 0.0f;
  FViewport.MaxZ = 1.0f;
  if (IDirect3DDevice9* d3dDevice = FDevice->D3DDevice()) d3dDevice->SetViewport(&FViewport);
}

void TSXScene::SetProjection(bool HorizontalFovGiven, float Fov, float Aspect, float ZNear, float ZFar) {
  const float c = std::cos(Fov / 2.0f) / std::sin(Fov / 2.0f);
  float m11;
  float m22;
  if (HorizontalFovGiven) {
    m11 = c;
    m22 = c / Aspect;
    FHorizontalFov = Fov;
    FVerticalFov = 2.0f * std::atan(1.0f / m22);
  } else {
    m22 = c;
    m11 = c * Aspect;
    FHorizontalFov = 2.0f * std::atan(1.0f / m11);
    FVerticalFov = Fov;
  }
  const float q = ZFar / (ZFar - ZNear);
  FProjection = IdentityMatrix();
  FProjection._11 = m11;
  FProjection._22 = m22;
  FProjection._33 = q;
  FProjection._34 = 1.0f;
  FProjection._43 = -q * ZNear;
  FProjection._44 = 0.0f;
  if (IDirect3DDevice9* d3dDevice = FDevice->D3DDevice()) d3dDevice->SetTransform(D3DTS_PROJECTION, &FProjection);
  FAspect = Aspect;
  FZNear = ZNear;
  FZFar = ZFar;
}

void TSXScene::CheckCaps() {
  FBlendOpSupported = false;
  IDirect3D9* d3d = FDevice->D3D();
  if (d3d == nullptr) return;
  D3DCAPS9 caps{};
  if (SUCCEEDED(d3d->GetDeviceCaps(FDevice->Adapter(), FDevice->DeviceType(), &caps)))
    FBlendOpSupported = (caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP) != 0;
}

void TSXScene::Restore() {
  if (IDirect3DDevice9* d3dDevice = FDevice->D3DDevice()) {
    d3dDevice->SetViewport(&FViewport);
    d3dDevice->SetTransform(D3DTS_PROJECTION, &FProjection);
  }
  CheckCaps();
}
