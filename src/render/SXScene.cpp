#include "SXScene.h"

#include <cmath>
#include <utility>

#include "DGTexture.h"
#include "TeardownStep.h"
#include "VUDaderDevice.h"
#include "WindowHost.h"

namespace {

D3DMATRIX IdentityMatrix() {
  D3DMATRIX M{};
  M._11 = M._22 = M._33 = M._44 = 1.0f;
  return M;
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

  const TWindowHost* Window = Device->Control();
  const int32_t ClientWidth = Window != nullptr ? Window->ClientWidth() : 0;
  const int32_t ClientHeight = Window != nullptr ? Window->ClientHeight() : 0;
  SetViewport(0, 0, ClientWidth, ClientHeight);
  // A zero-width client would make the aspect a division by zero; 1.0 keeps the matrix finite.
  const float Aspect = ClientWidth != 0 ? float(ClientHeight) / float(ClientWidth) : 1.0f;
  SetProjection(true, 1.5707964f, Aspect, 0.01f, 10000.0f);
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
  TSXRenderingQueue* Queue;
  if (Overlay) {
    Queue = FOverlayQueue.get();
    Z = 0.0f;
  } else if (FBlendModes[size_t(BlendMode)].Translucent) {
    Queue = FTranslucentQueue.get();
  } else {
    Queue = FOpaqueQueue.get();
  }
  TSXQuad Quad;
  Quad.Smooth = Smooth ? 1 : 0;
  Quad.AddressU = AddressU;
  Quad.AddressV = AddressV;
  Quad.BlendMode = BlendMode;
  Quad.Texture = Texture;
  Quad.X = Position.X;
  Quad.Y = Position.Y;
  Quad.Z = Z;
  for (int c = 0; c < 4; ++c) Quad.Vertices[c] = Vertices[size_t(c)];
  Queue->AddQuad(Quad);
}

void TSXScene::Render(bool ClearQueues) {
  IDirect3DDevice9* D3DDevice = FDevice->D3DDevice();
  if (D3DDevice == nullptr) {
    if (ClearQueues) {
      FOpaqueQueue->Clear();
      FTranslucentQueue->Clear();
      FOverlayQueue->Clear();
    }
    return;
  }
  const D3DMATRIX Identity = IdentityMatrix();
  D3DDevice->SetTransform(D3DTS_VIEW, &Identity);
  FOpaqueQueue->DrawQueue(false, ClearQueues);
  FTranslucentQueue->DrawQueue(SortTranslucent, ClearQueues);
  D3DDevice->SetRenderState(D3DRS_ZENABLE, 0);
  D3DDevice->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  D3DDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  // The overlay queue switches depth testing on again at its start; the comparison stays ALWAYS.
  FOverlayQueue->DrawQueue(false, ClearQueues);
  D3DDevice->SetRenderState(D3DRS_ZENABLE, 1);
  D3DDevice->SetRenderState(D3DRS_ZWRITEENABLE, 1);
  D3DDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  D3DDevice->SetTexture(0, nullptr);
}

void TSXScene::Clear(DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) {
  if (IDirect3DDevice9* D3DDevice = FDevice->D3DDevice()) D3DDevice->Clear(0, nullptr, Flags, Color, Z, Stencil);
}

void TSXScene::SetViewport(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  FViewport.X = DWORD(Left);
  FViewport.Y = DWORD(Top);
  FViewport.Width = DWORD(Right - Left);
  FViewport.Height = DWORD(Bottom - Top);
  FViewport.MinZ = 0.0f;
  FViewport.MaxZ = 1.0f;
  if (IDirect3DDevice9* D3DDevice = FDevice->D3DDevice()) D3DDevice->SetViewport(&FViewport);
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
  if (IDirect3DDevice9* D3DDevice = FDevice->D3DDevice()) D3DDevice->SetTransform(D3DTS_PROJECTION, &FProjection);
  FAspect = Aspect;
  FZNear = ZNear;
  FZFar = ZFar;
}

void TSXScene::CheckCaps() {
  FBlendOpSupported = false;
  IDirect3D9* D3D = FDevice->D3D();
  if (D3D == nullptr) return;
  D3DCAPS9 Caps{};
  if (SUCCEEDED(D3D->GetDeviceCaps(FDevice->Adapter(), FDevice->DeviceType(), &Caps)))
    FBlendOpSupported = (Caps.PrimitiveMiscCaps & D3DPMISCCAPS_BLENDOP) != 0;
}

void TSXScene::Restore() {
  if (IDirect3DDevice9* D3DDevice = FDevice->D3DDevice()) {
    D3DDevice->SetViewport(&FViewport);
    D3DDevice->SetTransform(D3DTS_PROJECTION, &FProjection);
  }
  CheckCaps();
}
