// One of the sprite renderer's three draw queues: quads stored until the frame is drawn.
#pragma once
#include <cstdint>
#include <vector>

#include "SXTypes.h"
#include "TObject.h"

class TVUDader;
class TSXScene;

class TSXRenderingQueue : public TObject {
 public:
  TSXRenderingQueue(TVUDader* Device, TSXScene* Scene);

  // Stores a copy of the quad; the storage doubles when full and never shrinks.
  void AddQuad(const TSXQuad& Quad);
  // Draws the queued quads (sorted back to front by depth when Sort), then empties the queue
  // when ClearAfter.
  void DrawQueue(bool Sort, bool ClearAfter);
  void Clear() { FQuadCount = 0; }

  int32_t QuadCount() const { return FQuadCount; }
  int32_t QuadCapacity() const { return FQuadCapacity; }
  int32_t AlphaRef() const { return FAlphaRef; }
  const TSXQuad& Quad(int32_t Index) const { return FQuads[size_t(Index)]; }

  // Descending quicksort of SortKey[Lo..Hi] with SortIndex moved alongside. Its exact partition
  // scheme fixes the order of quads of equal depth. Public for the renderer's tests.
  void SortByDepth(int32_t Lo, int32_t Hi);
  std::vector<int32_t>& SortIndex() { return FSortIndex; }
  std::vector<float>& SortKey() { return FSortKey; }

 private:
  // Device state remembered during one DrawQueue call, so runs of alike quads change nothing.
  struct TStateCache {
    TDGTexture* Texture = nullptr;
    DWORD SpecularEnable = 1;
    DWORD Lighting = 1;
    DWORD FillMode = D3DFILL_SOLID;
    DWORD Wrap0 = 0;
    // None yet: the device's alpha test may still hold what an earlier queue or frame left, so the first quad
    // applies the whole of its preset.
    int32_t BlendMode = -1;
    bool SamplerTouched = false;
    bool Smooth = false;
    D3DTEXTUREADDRESS AddressU = D3DTADDRESS_WRAP;
    D3DTEXTUREADDRESS AddressV = D3DTADDRESS_WRAP;
    DWORD SavedSampler[5] = {0, 0, 0, 0, 0};
  };

  void BeginDraw(IDirect3DDevice9* D3DDevice, TStateCache& Cache);
  void DrawQuad(IDirect3DDevice9* D3DDevice, TStateCache& Cache, const TSXQuad& Quad);
  void SetSamplers(IDirect3DDevice9* D3DDevice, TStateCache& Cache, const TSXQuad& Quad);
  void ApplyBlendMode(IDirect3DDevice9* D3DDevice, TStateCache& Cache, int32_t BlendMode);

  TVUDader* FDevice;
  TSXScene* FScene;
  std::vector<TSXQuad> FQuads;
  std::vector<int32_t> FSortIndex;
  std::vector<float> FSortKey;
  int32_t FQuadCapacity = 32;
  int32_t FQuadCount = 0;
  int32_t FAlphaRef = 128;
};
