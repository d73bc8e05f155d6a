// The sprite renderer: scenes queue textured quads in screen pixels with DrawSprite; Render draws
// the opaque queue, the translucent queue back to front and the overlay queue, then empties them.
// Registers with the device so viewport and projection are set again after re-creation or reset.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "SXRenderingQueue.h"
#include "SXStateRestorer.h"
#include "SXTypes.h"
#include "TObject.h"
#include "d3d9.h"
#include "s_MathPack.h"

class TVUDader;
class TDGTexture;

class TSXScene : public TObject {
 public:
  // Needs the device and its owner window at their final size: the viewport covers the client area.
  TSXScene(TVUDader* Device, const std::string& Name);
  ~TSXScene() override;
  TSXScene(const TSXScene&) = delete;
  TSXScene& operator=(const TSXScene&) = delete;

  // Queues one quad. Overlay quads are drawn last at depth 0; the others go to the translucent
  // queue when preset BlendMode is translucent, else to the opaque queue. BlendMode is 0 to 5.
  void DrawSprite(const TVector2& Position, std::span<const TSXVertexSP, 4> Vertices, TDGTexture* Texture,
                  int32_t BlendMode, bool Smooth, bool Overlay, float Z, D3DTEXTUREADDRESS AddressU,
                  D3DTEXTUREADDRESS AddressV);
  // Draws the three queues; empties them when ClearQueues.
  void Render(bool ClearQueues);
  // The device's Clear over the whole target.
  void Clear(DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil);

  void SetViewport(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);
  void SetProjection(bool HorizontalFovGiven, float Fov, float Aspect, float ZNear, float ZFar);
  // Puts viewport and projection back on the device and reads the capabilities again.
  void Restore();
  void CheckCaps();

  TVUDader* Device() const { return FDevice; }
  int32_t ResourceID() const { return FResourceID; }
  const std::string& Name() const { return FName; }
  const D3DMATRIX& Projection() const { return FProjection; }
  const D3DVIEWPORT9& Viewport() const { return FViewport; }
  float HorizontalFov() const { return FHorizontalFov; }
  float VerticalFov() const { return FVerticalFov; }
  float Aspect() const { return FAspect; }
  float ZNear() const { return FZNear; }
  float ZFar() const { return FZFar; }
  bool BlendOpSupported() const { return FBlendOpSupported; }
  const std::vector<TSXBlendMode>& BlendModes() const { return FBlendModes; }
  TSXStateRestorer& StateRestorer() { return *FStateRestorer; }
  TSXRenderingQueue& OpaqueQueue() { return *FOpaqueQueue; }
  TSXRenderingQueue& TranslucentQueue() { return *FTranslucentQueue; }
  TSXRenderingQueue& OverlayQueue() { return *FOverlayQueue; }

  // Sort the translucent queue by depth (on from creation).
  bool SortTranslucent = true;

 private:
  std::unique_ptr<TSXStateRestorer> FStateRestorer;
  TVUDader* FDevice;
  int32_t FResourceID = -1;
  std::string FName;
  D3DMATRIX FProjection{};
  D3DVIEWPORT9 FViewport{};
  float FHorizontalFov = 0.0f;
  float FVerticalFov = 0.0f;
  float FAspect = 0.0f;
  float FZNear = 0.0f;
  float FZFar = 0.0f;
  bool FBlendOpSupported = false;
  std::vector<TSXBlendMode> FBlendModes;
  std::unique_ptr<TSXRenderingQueue> FOverlayQueue;
  std::unique_ptr<TSXRenderingQueue> FOpaqueQueue;
  std::unique_ptr<TSXRenderingQueue> FTranslucentQueue;
};
