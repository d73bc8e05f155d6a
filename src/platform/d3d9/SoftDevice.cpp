// The software device that stands in for Direct3D 9's hardware device: it keeps the states the game sets and
// draws with the rasteriser into its back buffer. Which calls do real work is listed in SoftDevice.h.
//
// Index (each part begins at its "[SECTION]" line):
//   State slots, vertex layouts, blend kinds
//   Test and tool access: statistics and device loss
//   Construction, surfaces and default states
//   Lifetime, cooperative level, texture memory, Reset
//   Surfaces
//   Scenes and Clear
//   Transforms and viewport
//   Render, texture-stage and sampler states; textures; vertex format
//   Resolving the states into the rasteriser's state
//   Drawing
#include "SoftDevice.h"
#include <algorithm>
#include <cstring>
#include "D3D9Machine.h"
#include "Presenter.h"
#include "Rasterizer.h"
#include "SoftDirect3D.h"
#include "SoftFormats.h"
#include "SoftSurface.h"
#include "SoftTexture.h"

// [SECTION] State slots, vertex layouts, blend kinds

namespace {

// The per-stage and per-sampler state tables share one bounds check; an index out of range gives
// no slot, which the callers answer with D3DERR_INVALIDCALL as the real runtime does.
template <size_t Rows, size_t Cols>
DWORD* StateSlot(std::array<std::array<DWORD, Cols>, Rows>& Table, DWORD Row, DWORD Col) {
  if (Row >= Rows || Col >= Cols) return nullptr;
  return &Table[Row][Col];
}

HRESULT LoadState(const DWORD* Slot, DWORD* pValue) {
  if (!Slot || !pValue) return D3DERR_INVALIDCALL;
  *pValue = *Slot;
  return D3D_OK;
}

// A stored state counts as a state change and invalidates the rasteriser's cached setup.
HRESULT StoreState(DWORD* Slot, DWORD Value, uint32_t& Count, bool& RasterDirty) {
  if (!Slot) return D3DERR_INVALIDCALL;
  ++Count;
  *Slot = Value;
  RasterDirty = true;
  return D3D_OK;
}

constexpr int kTransformSlots = 512;

DWORD FloatBits(float F) {
  DWORD d;
  std::memcpy(&d, &F, sizeof d);
  return d;
}

D3DMATRIX Identity() {
  D3DMATRIX m;
  std::memset(&m, 0, sizeof m);
  m._11 = m._22 = m._33 = m._44 = 1.0f;
  return m;
}

bool AlphaPasses(uint32_t Alpha, uint32_t Reference, DWORD Func) {
  switch (Func) {
    case D3DCMP_NEVER: return false;
    case D3DCMP_LESS: return Alpha < Reference;
    case D3DCMP_EQUAL: return Alpha == Reference;
    case D3DCMP_LESSEQUAL: return Alpha <= Reference;
    case D3DCMP_GREATER: return Alpha > Reference;
    case D3DCMP_NOTEQUAL: return Alpha != Reference;
    case D3DCMP_GREATEREQUAL: return Alpha >= Reference;
    default: return true;
  }
}

bool IsDiffuseArg(DWORD Arg) { return Arg == D3DTA_DIFFUSE || Arg == D3DTA_CURRENT; }

// Texture times diffuse (stage 0's current value is the diffuse colour), in either argument order.
bool IsTextureTimesDiffuse(DWORD Op, DWORD Arg1, DWORD Arg2) {
  return Op == D3DTOP_MODULATE &&
         ((Arg1 == D3DTA_TEXTURE && IsDiffuseArg(Arg2)) || (Arg2 == D3DTA_TEXTURE && IsDiffuseArg(Arg1)));
}

TRasterBlend BlendKind(DWORD Src, DWORD Dest, DWORD Op) {
  if (Op != D3DBLENDOP_ADD) return TRasterBlend::Generic;
  if (Src == D3DBLEND_SRCALPHA && Dest == D3DBLEND_INVSRCALPHA) return TRasterBlend::Alpha;
  if (Src == D3DBLEND_SRCALPHA && Dest == D3DBLEND_ONE) return TRasterBlend::Additive;
  if (Src == D3DBLEND_ZERO && Dest == D3DBLEND_INVSRCCOLOR) return TRasterBlend::InvColor;
  if (Src == D3DBLEND_ZERO && Dest == D3DBLEND_SRCCOLOR) return TRasterBlend::Color;
  if (Src == D3DBLEND_ONE && Dest == D3DBLEND_ZERO) return TRasterBlend::Opaque;
  return TRasterBlend::Generic;
}

// Where the parts of a flexible-format vertex lie; Size 0 when the format cannot be drawn.
struct TVertexLayout {
  UINT Size = 0;
  int Diffuse = -1, Specular = -1, TexCoord = -1;
};

TVertexLayout LayoutOf(DWORD FVF) {
  TVertexLayout l;
  if ((FVF & D3DFVF_POSITION_MASK) != D3DFVF_XYZRHW) return l;  // only pre-transformed vertices
  UINT offset = 16;
  if (FVF & D3DFVF_NORMAL) offset += 12;
  if (FVF & D3DFVF_PSIZE) offset += 4;
  if (FVF & D3DFVF_DIFFUSE) {
    l.Diffuse = int(offset);
    offset += 4;
  }
  if (FVF & D3DFVF_SPECULAR) {
    l.Specular = int(offset);
    offset += 4;
  }
  UINT sets = (FVF & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
  if (sets > 8) return l;
  for (UINT i = 0; i < sets; ++i) {
    // Coordinate counts by the two size bits of each set: 00 two, 01 three, 10 four, 11 one.
    static constexpr UINT kFloats[4] = {2, 3, 4, 1};
    UINT count = kFloats[(FVF >> (16 + 2 * i)) & 3];
    if (i == 0 && count >= 2) l.TexCoord = int(offset);
    offset += 4 * count;
  }
  l.Size = offset;
  return l;
}

TRasterVertex ReadVertex(const uint8_t* P, const TVertexLayout& L) {
  TRasterVertex v{};
  std::memcpy(&v.X, P, 4);
  std::memcpy(&v.Y, P + 4, 4);
  v.Diffuse = 0xFFFFFFFFu;
  v.Specular = 0;
  if (L.Diffuse >= 0) std::memcpy(&v.Diffuse, P + L.Diffuse, 4);
  if (L.Specular >= 0) std::memcpy(&v.Specular, P + L.Specular, 4);
  if (L.TexCoord >= 0) {
    std::memcpy(&v.U, P + L.TexCoord, 4);
    std::memcpy(&v.V, P + L.TexCoord + 4, 4);
  }
  return v;
}

}  // namespace

// [SECTION] Test and tool access: statistics and device loss

TD3D9DeviceStats& D3D9DeviceStats(IDirect3DDevice9* Device) { return static_cast<TSoftDevice*>(Device)->Stats(); }

void D3D9LoseDevice(IDirect3DDevice9* Device, uint32_t LostPolls) {
  static_cast<TSoftDevice*>(Device)->Lose(LostPolls);
}

// [SECTION] Construction, surfaces and default states

TSoftDevice::TSoftDevice(TSoftDirect3D9* D3D, D3DDEVTYPE DeviceType, DWORD Behavior,
                         const D3DPRESENT_PARAMETERS& Params)
    : d3d_(D3D), deviceType_(DeviceType), behavior_(Behavior), params_(Params), transforms_(kTransformSlots) {
  d3d_->AddRef();
  CreateSurfaces();
  SetDefaultStates();
}

TSoftDevice::~TSoftDevice() {
  for (TSoftTexture*& texture : textures_) {
    if (texture) texture->Unbind();
    texture = nullptr;
  }
  ReleaseSurfaces();
  d3d_->Release();
}

void TSoftDevice::CreateSurfaces() {
  const bool lockable = (params_.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0;
  D3DSURFACE_DESC desc{params_.BackBufferFormat, D3DRTYPE_SURFACE,        D3DUSAGE_RENDERTARGET,
                       D3DPOOL_DEFAULT,          D3DMULTISAMPLE_NONE,     0,
                       params_.BackBufferWidth,  params_.BackBufferHeight};
  for (UINT i = 0; i < params_.BackBufferCount; ++i) backBuffers_.push_back(new TSoftSurface(this, desc, lockable));
  if (params_.EnableAutoDepthStencil) {
    D3DSURFACE_DESC depth = desc;
    depth.Format = params_.AutoDepthStencilFormat;
    depth.Usage = D3DUSAGE_DEPTHSTENCIL;
    depthStencil_ = new TSoftSurface(this, depth, false);
  }
}

void TSoftDevice::ReleaseSurfaces() {
  for (TSoftSurface* surface : backBuffers_) delete surface;
  backBuffers_.clear();
  delete depthStencil_;
  depthStencil_ = nullptr;
}

void TSoftDevice::SetDefaultStates() {
  renderStates_.fill(0);
  auto& r = renderStates_;
  r[D3DRS_ZENABLE] = params_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
  r[D3DRS_FILLMODE] = D3DFILL_SOLID;
  r[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  r[D3DRS_ZWRITEENABLE] = 1;
  r[D3DRS_LASTPIXEL] = 1;
  r[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  r[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  r[D3DRS_CULLMODE] = D3DCULL_CCW;
  r[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  r[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  r[D3DRS_FOGEND] = FloatBits(1.0f);
  r[D3DRS_FOGDENSITY] = FloatBits(1.0f);
  r[D3DRS_STENCILFAIL] = r[D3DRS_STENCILZFAIL] = r[D3DRS_STENCILPASS] = 1;  // D3DSTENCILOP_KEEP
  r[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
  r[D3DRS_STENCILMASK] = r[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
  r[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
  r[D3DRS_CLIPPING] = 1;
  r[D3DRS_LIGHTING] = 1;
  r[D3DRS_COLORVERTEX] = 1;
  r[D3DRS_LOCALVIEWER] = 1;
  r[D3DRS_DIFFUSEMATERIALSOURCE] = 1;   // D3DMCS_COLOR1
  r[D3DRS_SPECULARMATERIALSOURCE] = 2;  // D3DMCS_COLOR2
  r[D3DRS_POINTSIZE] = FloatBits(1.0f);
  r[D3DRS_POINTSIZE_MIN] = FloatBits(1.0f);
  r[D3DRS_POINTSCALE_A] = FloatBits(1.0f);
  r[D3DRS_MULTISAMPLEANTIALIAS] = 1;
  r[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFFu;
  r[D3DRS_POINTSIZE_MAX] = FloatBits(64.0f);
  r[D3DRS_COLORWRITEENABLE] = 0xF;
  r[D3DRS_TWEENFACTOR] = FloatBits(0.0f);
  r[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
  r[D3DRS_POSITIONDEGREE] = 3;  // D3DDEGREE_CUBIC
  r[D3DRS_NORMALDEGREE] = 1;    // D3DDEGREE_LINEAR
  r[D3DRS_MINTESSELLATIONLEVEL] = FloatBits(1.0f);
  r[D3DRS_MAXTESSELLATIONLEVEL] = FloatBits(1.0f);
  r[D3DRS_ADAPTIVETESS_W] = FloatBits(1.0f);
  r[D3DRS_CCW_STENCILFAIL] = r[D3DRS_CCW_STENCILZFAIL] = r[D3DRS_CCW_STENCILPASS] = 1;
  r[D3DRS_CCW_STENCILFUNC] = D3DCMP_ALWAYS;
  r[D3DRS_COLORWRITEENABLE1] = r[D3DRS_COLORWRITEENABLE2] = r[D3DRS_COLORWRITEENABLE3] = 0xF;
  r[D3DRS_BLENDFACTOR] = 0xFFFFFFFFu;
  r[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
  r[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
  r[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;

  for (DWORD stage = 0; stage < kStages; ++stage) {
    auto& s = stageStates_[stage];
    s.fill(0);
    s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    s[D3DTSS_TEXCOORDINDEX] = stage;
    s[D3DTSS_COLORARG0] = s[D3DTSS_ALPHAARG0] = s[D3DTSS_RESULTARG] = D3DTA_CURRENT;
  }
  for (auto& s : samplerStates_) {
    s.fill(0);
    s[D3DSAMP_ADDRESSU] = s[D3DSAMP_ADDRESSV] = s[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
    s[D3DSAMP_MAGFILTER] = s[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    s[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    s[D3DSAMP_MAXANISOTROPY] = 1;
  }
  for (TSoftTexture*& texture : textures_) {
    if (texture) texture->Unbind();
    texture = nullptr;
  }
  std::fill(transforms_.begin(), transforms_.end(), Identity());
  viewport_ = D3DVIEWPORT9{0, 0, params_.BackBufferWidth, params_.BackBufferHeight, 0.0f, 1.0f};
  fvf_ = 0;
  rasterDirty_ = true;
}

ULONG TSoftDevice::AddRef() { return ++refs_; }

// [SECTION] Lifetime, cooperative level, texture memory, Reset

ULONG TSoftDevice::Release() {
  if (refs_ == 0) return 0;
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

void TSoftDevice::Lose(uint32_t LostPolls) {
  loss_ = LostPolls > 0 ? TLoss::Lost : TLoss::NotReset;
  lostPolls_ = LostPolls;
}

HRESULT TSoftDevice::TestCooperativeLevel() {
  switch (loss_) {
    case TLoss::None: return D3D_OK;
    case TLoss::Lost:
      if (--lostPolls_ == 0) loss_ = TLoss::NotReset;
      return D3DERR_DEVICELOST;
    default: return D3DERR_DEVICENOTRESET;
  }
}

UINT TSoftDevice::GetAvailableTextureMem() {
  uint64_t total = TSoftDirect3D9::kTextureMemory;
  return UINT(textureBytes_ >= total ? 0 : total - textureBytes_);
}

void TSoftDevice::TextureCreated(uint64_t Bytes, D3DPOOL Pool) {
  textureBytes_ += Bytes;
  if (Pool == D3DPOOL_DEFAULT) ++defaultPoolTextures_;
}

void TSoftDevice::TextureDestroyed(uint64_t Bytes, D3DPOOL Pool) {
  textureBytes_ -= Bytes;
  if (Pool == D3DPOOL_DEFAULT) --defaultPoolTextures_;
}

HRESULT TSoftDevice::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters) {
  if (!pPresentationParameters) return D3DERR_INVALIDCALL;
  if (loss_ == TLoss::Lost) return D3DERR_DEVICELOST;
  // As in Direct3D: default-pool resources and references to the back buffers or the depth surface must all
  // have been released first.
  if (defaultPoolTextures_ > 0) return D3DERR_INVALIDCALL;
  for (TSoftSurface* surface : backBuffers_)
    if (surface->References() > 0) return D3DERR_INVALIDCALL;
  if (depthStencil_ && depthStencil_->References() > 0) return D3DERR_INVALIDCALL;
  if (inScene_) return D3DERR_INVALIDCALL;

  D3DPRESENT_PARAMETERS p = *pPresentationParameters;
  if (!p.hDeviceWindow) p.hDeviceWindow = params_.hDeviceWindow;
  if (!p.Windowed) return D3DERR_NOTAVAILABLE;
  if (p.BackBufferWidth == 0) p.BackBufferWidth = UINT(std::max(1, p.hDeviceWindow->ClientWidth()));
  if (p.BackBufferHeight == 0) p.BackBufferHeight = UINT(std::max(1, p.hDeviceWindow->ClientHeight()));
  if (p.BackBufferWidth > TSoftDirect3D9::kMaxBackBufferSize || p.BackBufferHeight > TSoftDirect3D9::kMaxBackBufferSize)
    return D3DERR_INVALIDCALL;
  if (p.BackBufferFormat == D3DFMT_UNKNOWN) p.BackBufferFormat = TSoftDirect3D9::kDisplayFormat;
  if (p.BackBufferFormat != TSoftDirect3D9::kDisplayFormat || p.MultiSampleType != D3DMULTISAMPLE_NONE)
    return D3DERR_NOTAVAILABLE;
  if (p.BackBufferCount == 0) p.BackBufferCount = 1;
  if (p.BackBufferCount > 3) return D3DERR_INVALIDCALL;
  if (p.EnableAutoDepthStencil && !TSoftDirect3D9::DepthFormatAccepted(p.AutoDepthStencilFormat))
    return D3DERR_INVALIDCALL;

  *pPresentationParameters = p;
  params_ = p;
  ReleaseSurfaces();
  CreateSurfaces();
  SetDefaultStates();
  loss_ = TLoss::None;
  return D3D_OK;
}

HRESULT TSoftDevice::Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                             const RGNDATA* pDirtyRegion) {
  if (pSourceRect || pDestRect || pDirtyRegion) return D3DERR_INVALIDCALL;
  if (loss_ != TLoss::None) return D3DERR_DEVICELOST;
  HWND window = hDestWindowOverride ? hDestWindowOverride : params_.hDeviceWindow;
  if (!window) return D3DERR_INVALIDCALL;
  ++stats_.Presents;
  const TSoftSurface* buffer = backBuffers_[0];
  window->Presenter().PresentFrame(buffer->Pixels(), int32_t(params_.BackBufferWidth),
                                   int32_t(params_.BackBufferHeight), int32_t(params_.BackBufferWidth * 4));
  return D3D_OK;
}

HRESULT TSoftDevice::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                   IDirect3DSurface9** ppBackBuffer) {
  if (!ppBackBuffer) return D3DERR_INVALIDCALL;
  *ppBackBuffer = nullptr;
  if (iSwapChain != 0 || iBackBuffer >= backBuffers_.size() || Type != D3DBACKBUFFER_TYPE_MONO)
    return D3DERR_INVALIDCALL;
  backBuffers_[iBackBuffer]->AddRef();
  *ppBackBuffer = backBuffers_[iBackBuffer];
  return D3D_OK;
}

// [SECTION] Surfaces

HRESULT TSoftDevice::GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) {
  if (!ppZStencilSurface) return D3DERR_INVALIDCALL;
  *ppZStencilSurface = nullptr;
  if (!depthStencil_) return D3DERR_NOTFOUND;
  depthStencil_->AddRef();
  *ppZStencilSurface = depthStencil_;
  return D3D_OK;
}

HRESULT TSoftDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                   IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) {
  if (!ppTexture || pSharedHandle) return D3DERR_INVALIDCALL;
  *ppTexture = nullptr;
  if (Width == 0 || Height == 0 || Width > TSoftDirect3D9::kMaxTextureSize || Height > TSoftDirect3D9::kMaxTextureSize)
    return D3DERR_INVALIDCALL;
  if (Pool > D3DPOOL_SCRATCH || !SoftTextureFormatSupported(Format)) return D3DERR_INVALIDCALL;
  if (Usage & ~(D3DUSAGE_DYNAMIC | D3DUSAGE_SOFTWAREPROCESSING)) return D3DERR_INVALIDCALL;
  if ((Usage & D3DUSAGE_DYNAMIC) && Pool == D3DPOOL_MANAGED) return D3DERR_INVALIDCALL;
  const UINT chain = TSoftTexture::FullChain(Width, Height);
  if (Levels == 0) Levels = chain;
  if (Levels > chain) return D3DERR_INVALIDCALL;
  if (TD3D9Machine* machine = D3D9Machine(); machine != nullptr) {
    if (const HRESULT hr = machine->TextureCreation(Width, Height); FAILED(hr)) return hr;
  }
  if (textureBytes_ + TSoftTexture::ByteSize(Width, Height, Levels, Format) > TSoftDirect3D9::kTextureMemory)
    return D3DERR_OUTOFVIDEOMEMORY;
  *ppTexture = new TSoftTexture(this, Width, Height, Levels, Usage, Format, Pool);
  return D3D_OK;
}

// [SECTION] Scenes and Clear

HRESULT TSoftDevice::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  ++stats_.Scenes;
  return D3D_OK;
}

HRESULT TSoftDevice::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  inScene_ = false;
  return D3D_OK;
}

HRESULT TSoftDevice::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float, DWORD) {
  if ((Count > 0 && !pRects) || (Count == 0 && pRects)) return D3DERR_INVALIDCALL;
  if ((Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_) return D3DERR_INVALIDCALL;
  ++stats_.Clears;
  if (!(Flags & D3DCLEAR_TARGET) || loss_ != TLoss::None) return D3D_OK;
  // Clearing is confined to the viewport.
  const LONG vLeft = LONG(viewport_.X), vTop = LONG(viewport_.Y);
  const LONG vRight = LONG(std::min<uint64_t>(uint64_t(viewport_.X) + viewport_.Width, params_.BackBufferWidth));
  const LONG vBottom = LONG(std::min<uint64_t>(uint64_t(viewport_.Y) + viewport_.Height, params_.BackBufferHeight));
  const D3DRECT whole{vLeft, vTop, vRight, vBottom};
  const uint32_t fill = Color | 0xFF000000u;
  uint32_t* pixels = backBuffers_[0]->Pixels();
  const UINT pitch = params_.BackBufferWidth;
  for (DWORD i = 0; i < std::max<DWORD>(Count, 1); ++i) {
    const D3DRECT& r = Count ? pRects[i] : whole;
    LONG left = std::max(r.x1, vLeft), top = std::max(r.y1, vTop);
    LONG right = std::min(r.x2, vRight), bottom = std::min(r.y2, vBottom);
    if (left >= right || top >= bottom) continue;
    // One row filled, the others copied from it: copying runs at memory speed, filling word by word does not.
    uint32_t* first = pixels + size_t(top) * pitch + left;
    std::fill(first, first + (right - left), fill);
    for (LONG y = top + 1; y < bottom; ++y)
      std::memcpy(pixels + size_t(y) * pitch + left, first, size_t(right - left) * 4);
  }
  return D3D_OK;
}

int TSoftDevice::TransformSlot(D3DTRANSFORMSTATETYPE State) { return State < kTransformSlots ? int(State) : -1; }

// [SECTION] Transforms and viewport

HRESULT TSoftDevice::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
  int slot = TransformSlot(State);
  if (!pMatrix || slot < 0) return D3DERR_INVALIDCALL;
  ++stats_.Transforms;
  transforms_[slot] = *pMatrix;
  return D3D_OK;
}

HRESULT TSoftDevice::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) {
  int slot = TransformSlot(State);
  if (!pMatrix || slot < 0) return D3DERR_INVALIDCALL;
  *pMatrix = transforms_[slot];
  return D3D_OK;
}

HRESULT TSoftDevice::SetViewport(const D3DVIEWPORT9* pViewport) {
  if (!pViewport) return D3DERR_INVALIDCALL;
  const D3DVIEWPORT9& v = *pViewport;
  if (uint64_t(v.X) + v.Width > params_.BackBufferWidth || uint64_t(v.Y) + v.Height > params_.BackBufferHeight)
    return D3DERR_INVALIDCALL;
  ++stats_.Viewports;
  viewport_ = v;
  rasterDirty_ = true;
  return D3D_OK;
}

HRESULT TSoftDevice::GetViewport(D3DVIEWPORT9* pViewport) {
  if (!pViewport) return D3DERR_INVALIDCALL;
  *pViewport = viewport_;
  return D3D_OK;
}

// [SECTION] Render, texture-stage and sampler states; textures; vertex format

HRESULT TSoftDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
  if (State >= D3DRS_MAX_STATE) return D3DERR_INVALIDCALL;
  ++stats_.RenderStates;
  renderStates_[State] = Value;
  rasterDirty_ = true;
  return D3D_OK;
}

HRESULT TSoftDevice::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) {
  if (State >= D3DRS_MAX_STATE || !pValue) return D3DERR_INVALIDCALL;
  *pValue = renderStates_[State];
  return D3D_OK;
}

HRESULT TSoftDevice::GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) {
  if (Stage >= kSamplers || !ppTexture) return D3DERR_INVALIDCALL;
  *ppTexture = textures_[Stage];
  if (textures_[Stage]) textures_[Stage]->AddRef();
  return D3D_OK;
}

HRESULT TSoftDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) {
  if (Stage >= kSamplers) return D3DERR_INVALIDCALL;
  // Every texture of this device is a TSoftTexture; a texture of another device is refused.
  TSoftTexture* texture = static_cast<TSoftTexture*>(pTexture);
  if (texture) {
    IDirect3DDevice9* owner = nullptr;
    texture->GetDevice(&owner);
    owner->Release();
    if (owner != this) return D3DERR_INVALIDCALL;
  }
  ++stats_.Textures;
  if (texture) texture->Bind();
  if (textures_[Stage]) textures_[Stage]->Unbind();
  textures_[Stage] = texture;
  rasterDirty_ = true;
  return D3D_OK;
}

HRESULT TSoftDevice::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) {
  return LoadState(StateSlot(stageStates_, Stage, Type), pValue);
}

HRESULT TSoftDevice::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) {
  return StoreState(StateSlot(stageStates_, Stage, Type), Value, stats_.TextureStageStates, rasterDirty_);
}

HRESULT TSoftDevice::GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) {
  return LoadState(StateSlot(samplerStates_, Sampler, Type), pValue);
}

HRESULT TSoftDevice::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) {
  return StoreState(StateSlot(samplerStates_, Sampler, Type), Value, stats_.SamplerStates, rasterDirty_);
}

HRESULT TSoftDevice::SetFVF(DWORD FVF) {
  ++stats_.FVFs;
  fvf_ = FVF;
  return D3D_OK;
}

HRESULT TSoftDevice::GetFVF(DWORD* pFVF) {
  if (!pFVF) return D3DERR_INVALIDCALL;
  *pFVF = fvf_;
  return D3D_OK;
}

// [SECTION] Resolving the states into the rasteriser's state

void TSoftDevice::ResolveRasterState() {
  TRasterState& s = raster_;
  const auto& r = renderStates_;
  TSoftSurface* target = backBuffers_[0];
  s.Target = target->Pixels();
  s.TargetPitch = int32_t(params_.BackBufferWidth);
  s.ClipLeft = int32_t(std::min<uint64_t>(viewport_.X, params_.BackBufferWidth));
  s.ClipTop = int32_t(std::min<uint64_t>(viewport_.Y, params_.BackBufferHeight));
  s.ClipRight = int32_t(std::min<uint64_t>(uint64_t(viewport_.X) + viewport_.Width, params_.BackBufferWidth));
  s.ClipBottom = int32_t(std::min<uint64_t>(uint64_t(viewport_.Y) + viewport_.Height, params_.BackBufferHeight));

  const TSoftTexture* texture = textures_[0];
  s.Texels = texture ? texture->Texels() : nullptr;
  s.TextureWidth = texture ? int32_t(texture->Width()) : 0;
  s.TextureHeight = texture ? int32_t(texture->Height()) : 0;
  const auto& sampler = samplerStates_[0];
  s.MinLinear = sampler[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
  s.MagLinear = sampler[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR;
  // Only wrap and clamp are offered (see the capabilities); other modes read as clamp.
  s.WrapU = sampler[D3DSAMP_ADDRESSU] == D3DTADDRESS_WRAP;
  s.WrapV = sampler[D3DSAMP_ADDRESSV] == D3DTADDRESS_WRAP;

  const auto& stage = stageStates_[0];
  s.Stage =
      TRasterStage{stage[D3DTSS_COLOROP],   stage[D3DTSS_COLORARG1], stage[D3DTSS_COLORARG2], stage[D3DTSS_ALPHAOP],
                   stage[D3DTSS_ALPHAARG1], stage[D3DTSS_ALPHAARG2], r[D3DRS_TEXTUREFACTOR]};
  s.FastStage = IsTextureTimesDiffuse(s.Stage.ColorOp, s.Stage.ColorArg1, s.Stage.ColorArg2) &&
                IsTextureTimesDiffuse(s.Stage.AlphaOp, s.Stage.AlphaArg1, s.Stage.AlphaArg2);
  s.BlendSetup = TRasterBlendSetup{r[D3DRS_SRCBLEND], r[D3DRS_DESTBLEND], r[D3DRS_BLENDOP]};
  s.Blend = r[D3DRS_ALPHABLENDENABLE] ? BlendKind(r[D3DRS_SRCBLEND], r[D3DRS_DESTBLEND], r[D3DRS_BLENDOP])
                                      : TRasterBlend::Opaque;
  s.Specular = r[D3DRS_SPECULARENABLE] != 0;
  s.AlphaTest = r[D3DRS_ALPHATESTENABLE] != 0;
  if (s.AlphaTest)
    for (uint32_t a = 0; a < 256; ++a) s.AlphaPass[a] = AlphaPasses(a, r[D3DRS_ALPHAREF] & 0xFF, r[D3DRS_ALPHAFUNC]);
  s.CullMode = r[D3DRS_CULLMODE];
  s.FlatShade = r[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
  rasterDirty_ = false;
}

// [SECTION] Drawing

HRESULT TSoftDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                     const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
  if (!pVertexStreamZeroData || PrimitiveCount == 0 || !inScene_) return D3DERR_INVALIDCALL;
  const TVertexLayout layout = LayoutOf(fvf_);
  if (layout.Size == 0 || VertexStreamZeroStride < layout.Size) return D3DERR_INVALIDCALL;
  if (PrimitiveType != D3DPT_TRIANGLESTRIP && PrimitiveType != D3DPT_TRIANGLELIST && PrimitiveType != D3DPT_TRIANGLEFAN)
    return D3DERR_INVALIDCALL;
  ++stats_.DrawCalls;
  stats_.Primitives += PrimitiveCount;
  if (loss_ != TLoss::None) return D3D_OK;
  if (rasterDirty_) ResolveRasterState();
  // Read at every draw: the bound texture may have been rewritten since the states were resolved.
  raster_.KeyedTexels = textures_[0] && textures_[0]->KeyedAlpha();
  raster_.VisibleTexels = textures_[0] ? textures_[0]->VisibleTexels() : nullptr;

  const uint8_t* Data = static_cast<const uint8_t*>(pVertexStreamZeroData);
  auto vertex = [&](UINT I) { return ReadVertex(Data + size_t(I) * VertexStreamZeroStride, layout); };
  if (PrimitiveType == D3DPT_TRIANGLESTRIP && PrimitiveCount == 2) {
    TRasterizer::DrawQuad(vertex(0), vertex(1), vertex(2), vertex(3), raster_);
  } else if (PrimitiveType == D3DPT_TRIANGLESTRIP) {
    TRasterVertex a = vertex(0), b = vertex(1);
    for (UINT i = 0; i < PrimitiveCount; ++i) {
      TRasterVertex c = vertex(i + 2);
      TRasterizer::DrawTriangle(a, b, c, (i & 1) != 0, raster_);
      a = b;
      b = c;
    }
  } else if (PrimitiveType == D3DPT_TRIANGLELIST) {
    for (UINT i = 0; i < PrimitiveCount; ++i)
      TRasterizer::DrawTriangle(vertex(3 * i), vertex(3 * i + 1), vertex(3 * i + 2), false, raster_);
  } else {
    TRasterVertex centre = vertex(0);
    for (UINT i = 0; i < PrimitiveCount; ++i)
      TRasterizer::DrawTriangle(centre, vertex(i + 1), vertex(i + 2), false, raster_);
  }
  return D3D_OK;
}
