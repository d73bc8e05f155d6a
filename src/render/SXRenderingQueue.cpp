#include "SXRenderingQueue.h"

#include <utility>

#include "DGTexture.h"
#include "SXScene.h"
#include "VUDaderDevice.h"

namespace {

// Pre-transformed vertex of layout XYZRHW | DIFFUSE | SPECULAR | TEX1.
struct TSXDrawVertex {
  float X, Y, Z, RHW;
  DWORD Diffuse, Specular;
  float U, V;
};
static_assert(sizeof(TSXDrawVertex) == 32);

constexpr DWORD kSpriteFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
static_assert(kSpriteFVF == 0x1C4);

// The sampler states saved before the first quad and put back after the queue.
constexpr D3DSAMPLERSTATETYPE kSavedSamplerStates[5] = {D3DSAMP_MIPFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER,
                                                        D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV};

}  // namespace

TSXRenderingQueue::TSXRenderingQueue(TVUDader* Device, TSXScene* Scene)
    : FDevice(Device), FScene(Scene), FQuads(32), FSortIndex(32), FSortKey(32) {}

void TSXRenderingQueue::AddQuad(const TSXQuad& Quad) {
  if (FQuadCount >= FQuadCapacity) {
    FQuadCapacity *= 2;
    FQuads.resize(size_t(FQuadCapacity));
    FSortIndex.resize(size_t(FQuadCapacity));
    FSortKey.resize(size_t(FQuadCapacity));
  }
  FQuads[size_t(FQuadCount)] = Quad;
  ++FQuadCount;
}

void TSXRenderingQueue::SortByDepth(int32_t Lo, int32_t Hi) {
  if (Lo >= Hi) return;
  const float pivot = FSortKey[size_t((Lo + Hi) / 2)];
  int32_t i = Lo - 1;
  int32_t j = Hi + 1;
  for (;;) {
    do ++i;
    while (FSortKey[size_t(i)] > pivot);
    do --j;
    while (FSortKey[size_t(j)] < pivot);
    if (j <= i) break;
    std::swap(FSortKey[size_t(i)], FSortKey[size_t(j)]);
    std::swap(FSortIndex[size_t(i)], FSortIndex[size_t(j)]);
  }
  SortByDepth(Lo, i - 1);
  SortByDepth(j + 1, Hi);
}

void TSXRenderingQueue::DrawQueue(bool Sort, bool ClearAfter) {
  IDirect3DDevice9* d3dDevice = FDevice->D3DDevice();
  if (d3dDevice != nullptr) {
    TStateCache cache;
    BeginDraw(d3dDevice, cache);
    if (Sort) {
      // Quads of negative depth are left out of the sort list: they are never drawn.
      int32_t count = 0;
      for (int32_t q = 0; q < FQuadCount; ++q) {
        if (FQuads[size_t(q)].Z >= 0.0f) {
          FSortKey[size_t(count)] = FQuads[size_t(q)].Z;
          FSortIndex[size_t(count)] = q;
          ++count;
        }
      }
      SortByDepth(0, count - 1);
      for (int32_t k = 0; k < count; ++k) DrawQuad(d3dDevice, cache, FQuads[size_t(FSortIndex[size_t(k)])]);
    } else {
      for (int32_t q = 0; q < FQuadCount; ++q) DrawQuad(d3dDevice, cache, FQuads[size_t(q)]);
    }
    if (cache.SamplerTouched) {
      for (int s = 0; s < 5; ++s) d3dDevice->SetSamplerState(0, kSavedSamplerStates[s], cache.SavedSampler[s]);
    }
  }
  if (ClearAfter) FQuadCount = 0;
}

void TSXRenderingQueue::BeginDraw(IDirect3DDevice9* D3DDevice, TStateCache& Cache) {
  // Set unconditionally so the cache starts out true. The blend preset, alpha test included, is left to the
  // first quad.
  D3DDevice->SetTexture(0, nullptr);
  D3DDevice->SetRenderState(D3DRS_SPECULARENABLE, Cache.SpecularEnable);
  D3DDevice->SetRenderState(D3DRS_LIGHTING, Cache.Lighting);
  D3DDevice->SetRenderState(D3DRS_FILLMODE, Cache.FillMode);
  D3DDevice->SetRenderState(D3DRS_WRAP0, Cache.Wrap0);
  D3DDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  D3DDevice->SetRenderState(D3DRS_ZENABLE, 1);
  D3DDevice->SetRenderState(D3DRS_ZWRITEENABLE, 1);

  D3DDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  D3DDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  D3DDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  D3DDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  D3DDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  D3DDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
}

void TSXRenderingQueue::SetSamplers(IDirect3DDevice9* D3DDevice, TStateCache& Cache, const TSXQuad& Quad) {
  const bool untouched = !Cache.SamplerTouched;
  if (untouched) {
    for (int s = 0; s < 5; ++s) D3DDevice->GetSamplerState(0, kSavedSamplerStates[s], &Cache.SavedSampler[s]);
  }
  const bool smooth = Quad.Smooth != 0;
  if (untouched || smooth != Cache.Smooth) {
    const DWORD filter = smooth ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    D3DDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    D3DDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
    D3DDevice->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    Cache.Smooth = smooth;
  }
  if (untouched || Quad.AddressU != Cache.AddressU) {
    D3DDevice->SetSamplerState(0, D3DSAMP_ADDRESSU, Quad.AddressU);
    Cache.AddressU = Quad.AddressU;
  }
  if (untouched || Quad.AddressV != Cache.AddressV) {
    D3DDevice->SetSamplerState(0, D3DSAMP_ADDRESSV, Quad.AddressV);
    Cache.AddressV = Quad.AddressV;
  }
  Cache.SamplerTouched = true;
}

void TSXRenderingQueue::ApplyBlendMode(IDirect3DDevice9* D3DDevice, TStateCache& Cache, int32_t BlendMode) {
  const TSXBlendMode& mode = FScene->BlendModes()[size_t(BlendMode)];
  if (mode.AlphaBlend) {
    D3DDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    D3DDevice->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    D3DDevice->SetRenderState(D3DRS_SRCBLEND, mode.SrcBlend);
    D3DDevice->SetRenderState(D3DRS_DESTBLEND, mode.DestBlend);
    if (FScene->BlendOpSupported()) D3DDevice->SetRenderState(D3DRS_BLENDOP, mode.BlendOp);
  } else {
    D3DDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    D3DDevice->SetRenderState(D3DRS_ZWRITEENABLE, 1);
  }
  D3DDevice->SetRenderState(D3DRS_ALPHATESTENABLE, mode.AlphaTest ? 1 : 0);
  if (mode.AlphaTest) {
    D3DDevice->SetRenderState(D3DRS_ALPHAFUNC, mode.AlphaFunc);
    D3DDevice->SetRenderState(D3DRS_ALPHAREF, DWORD(FAlphaRef));
  }
  Cache.BlendMode = BlendMode;
}

void TSXRenderingQueue::DrawQuad(IDirect3DDevice9* D3DDevice, TStateCache& Cache, const TSXQuad& Quad) {
  SetSamplers(D3DDevice, Cache, Quad);
  if (Quad.BlendMode != Cache.BlendMode) ApplyBlendMode(D3DDevice, Cache, Quad.BlendMode);
  if (Quad.Texture != Cache.Texture) {
    D3DDevice->SetTexture(0, Quad.Texture != nullptr ? Quad.Texture->Texture() : nullptr);
    Cache.Texture = Quad.Texture;
  }
  if (Cache.SpecularEnable != 1) {
    D3DDevice->SetRenderState(D3DRS_SPECULARENABLE, 1);
    Cache.SpecularEnable = 1;
  }
  if (Cache.Lighting != 0) {
    D3DDevice->SetRenderState(D3DRS_LIGHTING, 0);
    Cache.Lighting = 0;
  }
  if (Cache.Wrap0 != 0) {
    D3DDevice->SetRenderState(D3DRS_WRAP0, 0);
    Cache.Wrap0 = 0;
  }
  if (Cache.FillMode != D3DFILL_SOLID) {
    D3DDevice->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    Cache.FillMode = D3DFILL_SOLID;
  }
  if (Quad.Z < 0.0f) return;

  TSXDrawVertex vertices[4];
  for (int c = 0; c < 4; ++c) {
    const TSXVertexSP& corner = Quad.Vertices[c];
    vertices[c] = {Quad.X + corner.X, Quad.Y + corner.Y, Quad.Z,   0.5f,
                   corner.Diffuse,    corner.Specular,   corner.U, corner.V};
  }
  D3DDevice->SetFVF(kSpriteFVF);
  D3DDevice->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, sizeof(TSXDrawVertex));
}
