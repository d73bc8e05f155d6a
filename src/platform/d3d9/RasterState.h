// What the rasteriser needs to know to draw: the target, the sampled texture and the pixel pipeline, resolved
// from the device's states once per draw call, and one span of pixels as the triangle walker hands it over.
#pragma once
#include <cstdint>

// Colour blending into the target, by the factor pairs it has fast paths for.
enum class TRasterBlend : uint8_t {
  Opaque,    // blending off
  Alpha,     // SRCALPHA, INVSRCALPHA, ADD
  Additive,  // SRCALPHA, ONE, ADD
  InvColor,  // ZERO, INVSRCCOLOR, ADD
  Color,     // ZERO, SRCCOLOR, ADD
  Generic,   // any other factors or operation (slow path)
  // Alpha, for unshaded texels whose alpha is 0 or 255: each pixel is the texel or stays as it is. Picked with
  // the kernel for such textures (TRasterState::KeyedTexels), never resolved from the blend states.
  Keyed,
};
constexpr int kRasterBlendFastCount = 5;

// Texture sampling: none, or point or bilinear with wrap or clamp per axis.
enum class TRasterSampler : uint8_t {
  None,
  PointWrapWrap,
  PointWrapClamp,
  PointClampWrap,
  PointClampClamp,
  LinearWrapWrap,
  LinearWrapClamp,
  LinearClampWrap,
  LinearClampClamp,
};
constexpr int kRasterSamplerCount = 9;

constexpr TRasterSampler MakeRasterSampler(bool Textured, bool Linear, bool WrapU, bool WrapV) {
  if (!Textured) return TRasterSampler::None;
  return static_cast<TRasterSampler>(1 + (Linear ? 4 : 0) + (WrapU ? 0 : 2) + (WrapV ? 0 : 1));
}

// Texture stage 0 in its general form (slow path): operation and arguments for colour and alpha.
struct TRasterStage {
  uint32_t ColorOp, ColorArg1, ColorArg2;
  uint32_t AlphaOp, AlphaArg1, AlphaArg2;
  uint32_t TextureFactor;
};

// Blending in its general form (slow path).
struct TRasterBlendSetup {
  uint32_t SrcBlend, DestBlend, BlendOp;
};

constexpr int kRasterTargetSlack = 4;
// Texels past the last one that must be readable: a span that reads its row one texel per pixel loads its last
// group of four whole, whatever the span's length.
constexpr int kRasterTexelSlack = 3;

// The texels of one texture row whose alpha is not 0: columns First <= x < End (First == End: none).
struct TRasterVisibleTexels {
  int32_t First, End;
};

struct TRasterState {
  // ARGB8888 rows. At least kRasterTargetSlack pixels past the last one must be readable: span kernels load
  // whole groups of pixels and write back only those of the span.
  uint32_t* Target = nullptr;
  int32_t TargetPitch = 0;  // in pixels
  // Pixels drawn: ClipLeft <= x < ClipRight, ClipTop <= y < ClipBottom (viewport within the target).
  int32_t ClipLeft = 0, ClipTop = 0, ClipRight = 0, ClipBottom = 0;

  // Level 0 decoded to ARGB8888, with kRasterTexelSlack readable texels after it; null: no texture.
  const uint32_t* Texels = nullptr;
  int32_t TextureWidth = 0, TextureHeight = 0;
  bool MinLinear = false, MagLinear = false;
  bool WrapU = true, WrapV = true;
  bool KeyedTexels = false;  // every texel's alpha is 0 or 255
  // Per texture row, where its texels are not fully transparent (null: not known). Blending by source alpha
  // leaves the colour of a pixel whose texel has alpha 0 as it is, so such pixels at the ends of a row need not
  // be drawn (the target's fourth byte, which nothing reads, then keeps what it held).
  const TRasterVisibleTexels* VisibleTexels = nullptr;

  bool FastStage = true;  // stage 0 is texture times diffuse for both colour and alpha
  TRasterStage Stage{};
  TRasterBlend Blend = TRasterBlend::Opaque;
  TRasterBlendSetup BlendSetup{};
  bool Specular = false;
  bool AlphaTest = false;
  uint8_t AlphaPass[256] = {};  // alpha test verdict per source alpha

  uint32_t CullMode = 3;  // D3DCULL
  bool FlatShade = false;
};

// Fraction bits of the texture coordinates a span carries. Enough that stepping across the widest span drifts by
// far less than the 1/256 texel the samplers snap to, so that a pixel centre on a texel edge stays on it.
constexpr int kRasterTexelBits = 24;

// One straight side of a shape as the column bound it sets on each row: floor(M / D) for a numerator that grows
// by DM per row, kept exactly with quotient and remainder.
struct TRasterEdge {
  int64_t Q, R, D, DQ, DR;
  void Step() {
    Q += DQ;
    R += DR;
    if (R >= D) {
      R -= D;
      ++Q;
    }
  }
};

// An attribute in fixed point along the rows: its value at column 0 of the current row, and its steps per column
// and per row.
struct TRasterPlane {
  int64_t Row, StepX, StepY;
};

// A colour's planes, its four channels side by side in memory order (blue, green, red, alpha), as TRasterPlane's
// members: a kernel reads each member of the four channels as one vector.
struct TRasterColourPlanes {
  int64_t Row[4], StepX[4], StepY[4];
};

// The colours of one triangle along its rows, 16.16 fixed point, held within 0..255 at each row's first pixel and
// stepped from there by the per-pixel steps.
struct TRasterColours {
  TRasterColourPlanes Diffuse, Specular;  // specular alpha 0
  // Colour steps from pixel to pixel, held within a full range per pixel.
  int32_t DiffuseStep[4], SpecularStep[4];  // specular alpha 0
};

// Rows of a convex shape between one left and one right side: row r draws the columns from -Left.Q to Right.Q
// (within the clip rectangle), and the sides step once per row. Texture coordinates in texels with
// kRasterTexelBits fraction bits.
// A split kernel draws two triangles that meet along Split at once: columns up to Split.Q take Colours[0], the
// rest Colours[1]; the texture coordinates are one plane across both. Other kernels read Colours[0] alone.
struct TRasterRows {
  uint32_t* Target;  // column 0 of the first row
  int32_t Count;     // rows
  TRasterEdge Left, Right, Split;
  TRasterColours Colours[2];
  TRasterPlane U, V;
};

using TRasterKernel = void (*)(const TRasterRows& Rows, const TRasterState& State);

// What a triangle's vertex colours contribute, decided per triangle so that the common cases cost nothing.
enum class TRasterColouring : uint8_t {
  Plain,           // diffuse opaque white everywhere and nothing added: the texel as it is
  Shaded,          // diffuse interpolated, no specular (disabled, or black at every vertex)
  ShadedSpecular,  // diffuse interpolated, specular interpolated and added
};
constexpr int kRasterColouringCount = 3;

// Tests: draw with the x86-64 baseline kernels even where AVX2 ones run (false: the best the processor runs).
void RasterUseBaselineKernels(bool Baseline);

// The kernel that draws rows for a state, a sampler and a colouring (Rasterizer picks the last two per triangle);
// Split: one that draws two triangles at once (TRasterRows), for a colouring other than Plain.
TRasterKernel SelectRasterKernel(const TRasterState& State, TRasterSampler Sampler, TRasterColouring Colouring,
                                 bool Split = false);
