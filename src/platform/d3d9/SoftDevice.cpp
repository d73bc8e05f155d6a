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

constexpr int TransformSlots = 512;

DWORD FloatBits(float F) {
  DWORD D;
  std::memcpy(&D, &F, sizeof D);
  return D;
}

D3DMATRIX Identity() {
  D3DMATRIX M;
  std::memset(&M, 0, sizeof M);
  M._11 = M._22 = M._33 = M._44 = 1.0f;
  return M;
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
  TVertexLayout L;
  if ((FVF & D3DFVF_POSITION_MASK) != D3DFVF_XYZRHW) return L;  // only pre-transformed vertices
  UINT Offset = 16;
  if (FVF & D3DFVF_NORMAL) Offset += 12;
  if (FVF & D3DFVF_PSIZE) Offset += 4;
  if (FVF & D3DFVF_DIFFUSE) {
    L.Diffuse = int(Offset);
    Offset += 4;
  }
  if (FVF & D3DFVF_SPECULAR) {
    L.Specular = int(Offset);
    Offset += 4;
  }
  UINT Sets = (FVF & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
  if (Sets > 8) return L;
  for (UINT I = 0; I < Sets; ++I) {
    // Coordinate counts by the two size bits of each set: 00 two, 01 three, 10 four, 11 one.
    static constexpr UINT Floats[4] = {2, 3, 4, 1};
    UINT Count = Floats[(FVF >> (16 + 2 * I)) & 3];
    if (I == 0 && Count >= 2) L.TexCoord = int(Offset);
    Offset += 4 * Count;
  }
  L.Size = Offset;
  return L;
}

TRasterVertex ReadVertex(const uint8_t* P, const TVertexLayout& L) {
  TRasterVertex V{};
  std::memcpy(&V.X, P, 4);
  std::memcpy(&V.Y, P + 4, 4);
  V.Diffuse = 0xFFFFFFFFu;
  V.Specular = 0;
  if (L.Diffuse >= 0) std::memcpy(&V.Diffuse, P + L.Diffuse, 4);
  if (L.Specular >= 0) std::memcpy(&V.Specular, P + L.Specular, 4);
  if (L.TexCoord >= 0) {
    std::memcpy(&V.U, P + L.TexCoord, 4);
    std::memcpy(&V.V, P + L.TexCoord + 4, 4);
  }
  return V;
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
    : d3d_(D3D), deviceType_(DeviceType), behavior_(Behavior), params_(Params), transforms_(TransformSlots) {
  d3d_->AddRef();
  CreateSurfaces();
  SetDefaultStates();
}

TSoftDevice::~TSoftDevice() {
  for (TSoftTexture*& Texture : textures_) {
    if (Texture) Texture->Unbind();
    Texture = nullptr;
  }
  ReleaseSurfaces();
  d3d_->Release();
}

void TSoftDevice::CreateSurfaces() {
  const bool Lockable = (params_.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0;
  D3DSURFACE_DESC Desc{params_.BackBufferFormat, D3DRTYPE_SURFACE,        D3DUSAGE_RENDERTARGET,
                       D3DPOOL_DEFAULT,          D3DMULTISAMPLE_NONE,     0,
                       params_.BackBufferWidth,  params_.BackBufferHeight};
  for (UINT I = 0; I < params_.BackBufferCount; ++I) backBuffers_.push_back(new TSoftSurface(this, Desc, Lockable));
  if (params_.EnableAutoDepthStencil) {
    D3DSURFACE_DESC Depth = Desc;
    Depth.Format = params_.AutoDepthStencilFormat;
    Depth.Usage = D3DUSAGE_DEPTHSTENCIL;
    depthStencil_ = new TSoftSurface(this, Depth, false);
  }
}

void TSoftDevice::ReleaseSurfaces() {
  for (TSoftSurface* Surface : backBuffers_) delete Surface;
  backBuffers_.clear();
  delete depthStencil_;
  depthStencil_ = nullptr;
}

void TSoftDevice::SetDefaultStates() {
  renderStates_.fill(0);
  auto& R = renderStates_;
  R[D3DRS_ZENABLE] = params_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
  R[D3DRS_FILLMODE] = D3DFILL_SOLID;
  R[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  R[D3DRS_ZWRITEENABLE] = 1;
  R[D3DRS_LASTPIXEL] = 1;
  R[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  R[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  R[D3DRS_CULLMODE] = D3DCULL_CCW;
  R[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  R[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  R[D3DRS_FOGEND] = FloatBits(1.0f);
  R[D3DRS_FOGDENSITY] = FloatBits(1.0f);
  R[D3DRS_STENCILFAIL] = R[D3DRS_STENCILZFAIL] = R[D3DRS_STENCILPASS] = 1;  // D3DSTENCILOP_KEEP
  R[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
  R[D3DRS_STENCILMASK] = R[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
  R[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
  R[D3DRS_CLIPPING] = 1;
  R[D3DRS_LIGHTING] = 1;
  R[D3DRS_COLORVERTEX] = 1;
  R[D3DRS_LOCALVIEWER] = 1;
  R[D3DRS_DIFFUSEMATERIALSOURCE] = 1;   // D3DMCS_COLOR1
  R[D3DRS_SPECULARMATERIALSOURCE] = 2;  // D3DMCS_COLOR2
  R[D3DRS_POINTSIZE] = FloatBits(1.0f);
  R[D3DRS_POINTSIZE_MIN] = FloatBits(1.0f);
  R[D3DRS_POINTSCALE_A] = FloatBits(1.0f);
  R[D3DRS_MULTISAMPLEANTIALIAS] = 1;
  R[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFFu;
  R[D3DRS_POINTSIZE_MAX] = FloatBits(64.0f);
  R[D3DRS_COLORWRITEENABLE] = 0xF;
  R[D3DRS_TWEENFACTOR] = FloatBits(0.0f);
  R[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
  R[D3DRS_POSITIONDEGREE] = 3;  // D3DDEGREE_CUBIC
  R[D3DRS_NORMALDEGREE] = 1;    // D3DDEGREE_LINEAR
  R[D3DRS_MINTESSELLATIONLEVEL] = FloatBits(1.0f);
  R[D3DRS_MAXTESSELLATIONLEVEL] = FloatBits(1.0f);
  R[D3DRS_ADAPTIVETESS_W] = FloatBits(1.0f);
  R[D3DRS_CCW_STENCILFAIL] = R[D3DRS_CCW_STENCILZFAIL] = R[D3DRS_CCW_STENCILPASS] = 1;
  R[D3DRS_CCW_STENCILFUNC] = D3DCMP_ALWAYS;
  R[D3DRS_COLORWRITEENABLE1] = R[D3DRS_COLORWRITEENABLE2] = R[D3DRS_COLORWRITEENABLE3] = 0xF;
  R[D3DRS_BLENDFACTOR] = 0xFFFFFFFFu;
  R[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
  R[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
  R[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;

  for (DWORD Stage = 0; Stage < Stages; ++Stage) {
    auto& S = stageStates_[Stage];
    S.fill(0);
    S[D3DTSS_COLOROP] = Stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    S[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    S[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    S[D3DTSS_ALPHAOP] = Stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    S[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    S[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    S[D3DTSS_TEXCOORDINDEX] = Stage;
    S[D3DTSS_COLORARG0] = S[D3DTSS_ALPHAARG0] = S[D3DTSS_RESULTARG] = D3DTA_CURRENT;
  }
  for (auto& S : samplerStates_) {
    S.fill(0);
    S[D3DSAMP_ADDRESSU] = S[D3DSAMP_ADDRESSV] = S[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
    S[D3DSAMP_MAGFILTER] = S[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    S[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    S[D3DSAMP_MAXANISOTROPY] = 1;
  }
  for (TSoftTexture*& Texture : textures_) {
    if (Texture) Texture->Unbind();
    Texture = nullptr;
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
  ULONG Left = --refs_;
  if (Left == 0) delete this;
  return Left;
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
  uint64_t Total = TSoftDirect3D9::TextureMemory;
  return UINT(textureBytes_ >= Total ? 0 : Total - textureBytes_);
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
  for (TSoftSurface* Surface : backBuffers_)
    if (Surface->References() > 0) return D3DERR_INVALIDCALL;
  if (depthStencil_ && depthStencil_->References() > 0) return D3DERR_INVALIDCALL;
  if (inScene_) return D3DERR_INVALIDCALL;

  D3DPRESENT_PARAMETERS P = *pPresentationParameters;
  if (!P.hDeviceWindow) P.hDeviceWindow = params_.hDeviceWindow;
  if (!P.Windowed) return D3DERR_NOTAVAILABLE;
  if (P.BackBufferWidth == 0) P.BackBufferWidth = UINT(std::max(1, P.hDeviceWindow->ClientWidth()));
  if (P.BackBufferHeight == 0) P.BackBufferHeight = UINT(std::max(1, P.hDeviceWindow->ClientHeight()));
  if (P.BackBufferWidth > TSoftDirect3D9::MaxBackBufferSize || P.BackBufferHeight > TSoftDirect3D9::MaxBackBufferSize)
    return D3DERR_INVALIDCALL;
  if (P.BackBufferFormat == D3DFMT_UNKNOWN) P.BackBufferFormat = TSoftDirect3D9::DisplayFormat;
  if (P.BackBufferFormat != TSoftDirect3D9::DisplayFormat || P.MultiSampleType != D3DMULTISAMPLE_NONE)
    return D3DERR_NOTAVAILABLE;
  if (P.BackBufferCount == 0) P.BackBufferCount = 1;
  if (P.BackBufferCount > 3) return D3DERR_INVALIDCALL;
  if (P.EnableAutoDepthStencil && !TSoftDirect3D9::DepthFormatAccepted(P.AutoDepthStencilFormat))
    return D3DERR_INVALIDCALL;

  *pPresentationParameters = P;
  params_ = P;
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
  HWND Window = hDestWindowOverride ? hDestWindowOverride : params_.hDeviceWindow;
  if (!Window) return D3DERR_INVALIDCALL;
  ++stats_.Presents;
  const TSoftSurface* Buffer = backBuffers_[0];
  Window->Presenter().PresentFrame(Buffer->Pixels(), int32_t(params_.BackBufferWidth),
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
  if (Width == 0 || Height == 0 || Width > TSoftDirect3D9::MaxTextureSize || Height > TSoftDirect3D9::MaxTextureSize)
    return D3DERR_INVALIDCALL;
  if (Pool > D3DPOOL_SCRATCH || !SoftTextureFormatSupported(Format)) return D3DERR_INVALIDCALL;
  if (Usage & ~(D3DUSAGE_DYNAMIC | D3DUSAGE_SOFTWAREPROCESSING)) return D3DERR_INVALIDCALL;
  if ((Usage & D3DUSAGE_DYNAMIC) && Pool == D3DPOOL_MANAGED) return D3DERR_INVALIDCALL;
  const UINT Chain = TSoftTexture::FullChain(Width, Height);
  if (Levels == 0) Levels = Chain;
  if (Levels > Chain) return D3DERR_INVALIDCALL;
  if (TD3D9Machine* machine = D3D9Machine(); machine != nullptr) {
    if (const HRESULT hr = machine->TextureCreation(Width, Height); FAILED(hr)) return hr;
  }
  if (textureBytes_ + TSoftTexture::ByteSize(Width, Height, Levels, Format) > TSoftDirect3D9::TextureMemory)
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
  const LONG VLeft = LONG(viewport_.X), VTop = LONG(viewport_.Y);
  const LONG VRight = LONG(std::min<uint64_t>(uint64_t(viewport_.X) + viewport_.Width, params_.BackBufferWidth));
  const LONG VBottom = LONG(std::min<uint64_t>(uint64_t(viewport_.Y) + viewport_.Height, params_.BackBufferHeight));
  const D3DRECT Whole{VLeft, VTop, VRight, VBottom};
  const uint32_t Fill = Color | 0xFF000000u;
  uint32_t* Pixels = backBuffers_[0]->Pixels();
  const UINT Pitch = params_.BackBufferWidth;
  for (DWORD I = 0; I < std::max<DWORD>(Count, 1); ++I) {
    const D3DRECT& R = Count ? pRects[I] : Whole;
    LONG Left = std::max(R.x1, VLeft), Top = std::max(R.y1, VTop);
    LONG Right = std::min(R.x2, VRight), Bottom = std::min(R.y2, VBottom);
    if (Left >= Right || Top >= Bottom) continue;
    // One row filled, the others copied from it: copying runs at memory speed, filling word by word does not.
    uint32_t* First = Pixels + size_t(Top) * Pitch + Left;
    std::fill(First, First + (Right - Left), Fill);
    for (LONG Y = Top + 1; Y < Bottom; ++Y)
      std::memcpy(Pixels + size_t(Y) * Pitch + Left, First, size_t(Right - Left) * 4);
  }
  return D3D_OK;
}

int TSoftDevice::TransformSlot(D3DTRANSFORMSTATETYPE State) { return State < TransformSlots ? int(State) : -1; }

// [SECTION] Transforms and viewport

HRESULT TSoftDevice::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) {
  int Slot = TransformSlot(State);
  if (!pMatrix || Slot < 0) return D3DERR_INVALIDCALL;
  ++stats_.Transforms;
  transforms_[Slot] = *pMatrix;
  return D3D_OK;
}

HRESULT TSoftDevice::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) {
  int Slot = TransformSlot(State);
  if (!pMatrix || Slot < 0) return D3DERR_INVALIDCALL;
  *pMatrix = transforms_[Slot];
  return D3D_OK;
}

HRESULT TSoftDevice::SetViewport(const D3DVIEWPORT9* pViewport) {
  if (!pViewport) return D3DERR_INVALIDCALL;
  const D3DVIEWPORT9& V = *pViewport;
  if (uint64_t(V.X) + V.Width > params_.BackBufferWidth || uint64_t(V.Y) + V.Height > params_.BackBufferHeight)
    return D3DERR_INVALIDCALL;
  ++stats_.Viewports;
  viewport_ = V;
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
  if (Stage >= Samplers || !ppTexture) return D3DERR_INVALIDCALL;
  *ppTexture = textures_[Stage];
  if (textures_[Stage]) textures_[Stage]->AddRef();
  return D3D_OK;
}

HRESULT TSoftDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) {
  if (Stage >= Samplers) return D3DERR_INVALIDCALL;
  // Every texture of this device is a TSoftTexture; a texture of another device is refused.
  TSoftTexture* Texture = static_cast<TSoftTexture*>(pTexture);
  if (Texture) {
    IDirect3DDevice9* Owner = nullptr;
    Texture->GetDevice(&Owner);
    Owner->Release();
    if (Owner != this) return D3DERR_INVALIDCALL;
  }
  ++stats_.Textures;
  if (Texture) Texture->Bind();
  if (textures_[Stage]) textures_[Stage]->Unbind();
  textures_[Stage] = Texture;
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
  TRasterState& S = raster_;
  const auto& R = renderStates_;
  TSoftSurface* Target = backBuffers_[0];
  S.Target = Target->Pixels();
  S.TargetPitch = int32_t(params_.BackBufferWidth);
  S.ClipLeft = int32_t(std::min<uint64_t>(viewport_.X, params_.BackBufferWidth));
  S.ClipTop = int32_t(std::min<uint64_t>(viewport_.Y, params_.BackBufferHeight));
  S.ClipRight = int32_t(std::min<uint64_t>(uint64_t(viewport_.X) + viewport_.Width, params_.BackBufferWidth));
  S.ClipBottom = int32_t(std::min<uint64_t>(uint64_t(viewport_.Y) + viewport_.Height, params_.BackBufferHeight));

  const TSoftTexture* Texture = textures_[0];
  S.Texels = Texture ? Texture->Texels() : nullptr;
  S.TextureWidth = Texture ? int32_t(Texture->Width()) : 0;
  S.TextureHeight = Texture ? int32_t(Texture->Height()) : 0;
  const auto& Sampler = samplerStates_[0];
  S.MinLinear = Sampler[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
  S.MagLinear = Sampler[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR;
  // Only wrap and clamp are offered (see the capabilities); other modes read as clamp.
  S.WrapU = Sampler[D3DSAMP_ADDRESSU] == D3DTADDRESS_WRAP;
  S.WrapV = Sampler[D3DSAMP_ADDRESSV] == D3DTADDRESS_WRAP;

  const auto& Stage = stageStates_[0];
  S.Stage =
      TRasterStage{Stage[D3DTSS_COLOROP],   Stage[D3DTSS_COLORARG1], Stage[D3DTSS_COLORARG2], Stage[D3DTSS_ALPHAOP],
                   Stage[D3DTSS_ALPHAARG1], Stage[D3DTSS_ALPHAARG2], R[D3DRS_TEXTUREFACTOR]};
  S.FastStage = IsTextureTimesDiffuse(S.Stage.ColorOp, S.Stage.ColorArg1, S.Stage.ColorArg2) &&
                IsTextureTimesDiffuse(S.Stage.AlphaOp, S.Stage.AlphaArg1, S.Stage.AlphaArg2);
  S.BlendSetup = TRasterBlendSetup{R[D3DRS_SRCBLEND], R[D3DRS_DESTBLEND], R[D3DRS_BLENDOP]};
  S.Blend = R[D3DRS_ALPHABLENDENABLE] ? BlendKind(R[D3DRS_SRCBLEND], R[D3DRS_DESTBLEND], R[D3DRS_BLENDOP])
                                      : TRasterBlend::Opaque;
  S.Specular = R[D3DRS_SPECULARENABLE] != 0;
  S.AlphaTest = R[D3DRS_ALPHATESTENABLE] != 0;
  if (S.AlphaTest)
    for (uint32_t A = 0; A < 256; ++A) S.AlphaPass[A] = AlphaPasses(A, R[D3DRS_ALPHAREF] & 0xFF, R[D3DRS_ALPHAFUNC]);
  S.CullMode = R[D3DRS_CULLMODE];
  S.FlatShade = R[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
  rasterDirty_ = false;
}

// [SECTION] Drawing

HRESULT TSoftDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                     const void* pVertexStreamZeroData, UINT VertexStreamZeroStride) {
  if (!pVertexStreamZeroData || PrimitiveCount == 0 || !inScene_) return D3DERR_INVALIDCALL;
  const TVertexLayout Layout = LayoutOf(fvf_);
  if (Layout.Size == 0 || VertexStreamZeroStride < Layout.Size) return D3DERR_INVALIDCALL;
  if (PrimitiveType != D3DPT_TRIANGLESTRIP && PrimitiveType != D3DPT_TRIANGLELIST && PrimitiveType != D3DPT_TRIANGLEFAN)
    return D3DERR_INVALIDCALL;
  ++stats_.DrawCalls;
  stats_.Primitives += PrimitiveCount;
  if (loss_ != TLoss::None) return D3D_OK;
  if (rasterDirty_) ResolveRasterState();

  const uint8_t* Data = static_cast<const uint8_t*>(pVertexStreamZeroData);
  auto Vertex = [&](UINT I) { return ReadVertex(Data + size_t(I) * VertexStreamZeroStride, Layout); };
  if (PrimitiveType == D3DPT_TRIANGLESTRIP && PrimitiveCount == 2) {
    TRasterizer::DrawQuad(Vertex(0), Vertex(1), Vertex(2), Vertex(3), raster_);
  } else if (PrimitiveType == D3DPT_TRIANGLESTRIP) {
    TRasterVertex A = Vertex(0), B = Vertex(1);
    for (UINT I = 0; I < PrimitiveCount; ++I) {
      TRasterVertex C = Vertex(I + 2);
      TRasterizer::DrawTriangle(A, B, C, (I & 1) != 0, raster_);
      A = B;
      B = C;
    }
  } else if (PrimitiveType == D3DPT_TRIANGLELIST) {
    for (UINT I = 0; I < PrimitiveCount; ++I)
      TRasterizer::DrawTriangle(Vertex(3 * I), Vertex(3 * I + 1), Vertex(3 * I + 2), false, raster_);
  } else {
    TRasterVertex Centre = Vertex(0);
    for (UINT I = 0; I < PrimitiveCount; ++I)
      TRasterizer::DrawTriangle(Centre, Vertex(I + 1), Vertex(I + 2), false, raster_);
  }
  return D3D_OK;
}
