#include "Rasterizer.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr int kSubpixelBits = 8;
constexpr double kSubpixelScale = 1 << kSubpixelBits;
// Positions beyond this many pixels from the origin are clipped geometrically first, which keeps every edge
// function product within 64 bits.
constexpr double kGuardBand = 1 << 19;

// Nearest integer, halves upwards; inline (llround is a library call).
// Attribute values in fixed point are kept within this bound, so that sums and products of a few of them (and
// a pixel position) stay far inside 64 bits whatever the vertices say.
constexpr double kFixedLimit = 281474976710656.0;  // 2^48

[[gnu::always_inline]] inline int64_t Round(double X, double Limit = kFixedLimit) {
  if (!(X > -Limit)) X = -Limit;  // also catches NaN
  if (X > Limit) X = Limit;
  X += 0.5;
  int64_t t = static_cast<int64_t>(X);
  return t - (static_cast<double>(t) > X ? 1 : 0);
}

// A colour's four channels are worked out as two vectors of two doubles, the width the processors hold doubles at
// in this build: a wider vector would be split by the compiler, and its comparisons taken one lane at a time.
typedef double F64x2 __attribute__((vector_size(16)));
typedef int64_t I64x2 __attribute__((vector_size(16)));

// Each lane of X held within [Low, High], NaN taken as Low: one instruction each way where the processor has one (the
// compiler does not see it in the comparison).
[[gnu::always_inline]] inline F64x2 ClampTwo(F64x2 X, double Low, double High) {
#ifdef __SSE2__
  return (F64x2)_mm_min_pd(_mm_max_pd((__m128d)X, _mm_set1_pd(Low)), _mm_set1_pd(High));
#else
  X = X > Low ? X : F64x2{} + Low;
  return X > High ? F64x2{} + High : X;
#endif
}

// Round for two values within kFixedLimit at once, without a conversion per value: adding 1.5 * 2^52 to a value
// that small leaves it rounded to the nearest integer (ties to even) as the low bits of the sum, from which the
// floor of the value follows as in Round.
[[gnu::always_inline]] inline I64x2 RoundTwo(F64x2 X) {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52
  constexpr int64_t kMagicBits = 0x4338000000000000;
  X = ClampTwo(X, -kFixedLimit, kFixedLimit) + 0.5;
  const F64x2 sum = X + kMagic;
  const F64x2 nearest = sum - kMagic;
  return (I64x2)sum - kMagicBits + (nearest > X);  // a comparison that holds is -1
}

// Whether both lanes of a comparison's result hold.
[[gnu::always_inline]] inline bool Both(const I64x2& Lanes) { return (Lanes[0] & Lanes[1]) != 0; }

int64_t FloorDiv(int64_t A, int64_t B) {  // B > 0
  int64_t q = A / B;
  return (A % B != 0 && A < 0) ? q - 1 : q;
}

// Two attributes as planes over the screen, one to a lane: F(x, y) = F0 + Dx * (x - X0) + Dy * (y - Y0).
struct TPlanePair {
  F64x2 F0, Dx, Dy;
};

// A colour's four channels (blue, green, red, alpha): [0] channels 0 and 1, [1] channels 2 and 3.
using TColourPlanes = TPlanePair[2];

struct TSetup {
  double X0, Y0;
  TColourPlanes Diffuse, Specular;
  TPlanePair Texture;  // U, V
};

// A colour's channels, two to a vector.
void ChannelsOf(uint32_t Colour, F64x2 (&Out)[2]) {
#ifdef __SSE2__
  // Widened to 32-bit lanes and converted two at a time (the compiler converts one lane at a time).
  const __m128i zero = _mm_setzero_si128();
  const __m128i channels = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(Colour)), zero), zero);
  Out[0] = (F64x2)_mm_cvtepi32_pd(channels);
  Out[1] = (F64x2)_mm_cvtepi32_pd(_mm_srli_si128(channels, 8));
#else
  for (int h = 0; h < 2; ++h) {
    const uint32_t pair = Colour >> (16 * h);
    Out[h] = F64x2{double(pair & 255), double((pair >> 8) & 255)};
  }
#endif
}

// A vertex's texture coordinates U, V. Beyond a million repeats they carry no meaning; they are held there (and NaN
// read as 0).
F64x2 TextureCoordinates(const TRasterVertex& Vertex) {
  const F64x2 uv = {double(Vertex.U), double(Vertex.V)};
  return (F64x2)((I64x2)ClampTwo(uv, -1e6, 1e6) & (uv == uv));
}

// The planes through three corners' values of two attributes, F0 at the first; the corners lie Ex1, Ey1 and Ex2, Ey2
// from the first, whose determinant is 1 / InvDet. An attribute the corners share is flat.
[[gnu::always_inline]] inline TPlanePair MakePlanes(F64x2 F0, F64x2 F1, F64x2 F2, double Ex1, double Ey1, double Ex2,
                                                    double Ey2, double InvDet) {
  const F64x2 d1 = F1 - F0, d2 = F2 - F0;
  const I64x2 flat = (d1 == 0) & (d2 == 0);
  const F64x2 dx = (d1 * Ey2 - d2 * Ey1) * InvDet, dy = (d2 * Ex1 - d1 * Ex2) * InvDet;
  return {F0, flat ? F64x2{} : dx, flat ? F64x2{} : dy};
}

struct TClipPoint {
  double X, Y;
};

// Row of the first pixel centre at or below a position in subpixels: Y / 256 rounded up, by an arithmetic shift
// rather than a division.
int64_t RowAtOrBelow(int64_t Y) { return (Y + (1 << kSubpixelBits) - 1) >> kSubpixelBits; }

// A convex polygon of three or four corners snapped to the subpixel grid and turned clockwise on screen (y down),
// and the rows it covers: those whose centres lie in [top corner, bottom corner), within the clip rectangle. A
// row through the bottom corner is empty by the fill rule, whether a corner or a bottom edge lies there.
struct TSnapped {
  int N;
  int64_t X[4], Y[4];
  int64_t Top, Bottom;
};

// The corner after corner I of a polygon of N corners.
int NextCorner(int I, int N) { return I + 1 < N ? I + 1 : 0; }

// False when the polygon has no area or, with four corners, does not turn the same way at every corner once
// snapped.
bool Snap(const TClipPoint* P, int N, const TRasterState& State, TSnapped& S) {
  S.N = N;
  for (int i = 0; i < N; ++i) {
    S.X[i] = Round(P[i].X * kSubpixelScale);
    S.Y[i] = Round(P[i].Y * kSubpixelScale);
  }
  int64_t area = 0;
  for (int i = 0; i < N; ++i) area += S.X[i] * S.Y[NextCorner(i, N)] - S.X[NextCorner(i, N)] * S.Y[i];
  if (area == 0) return false;
  if (area < 0) {
    std::reverse(S.X, S.X + N);
    std::reverse(S.Y, S.Y + N);
  }
  for (int i = 0; i < N && N == 4; ++i) {
    int j = NextCorner(i, N), k = NextCorner(j, N);
    if ((S.X[j] - S.X[i]) * (S.Y[k] - S.Y[j]) - (S.Y[j] - S.Y[i]) * (S.X[k] - S.X[j]) <= 0) return false;
  }
  S.Top = std::max<int64_t>(State.ClipTop, RowAtOrBelow(*std::min_element(S.Y, S.Y + N)));
  S.Bottom = std::min<int64_t>(State.ClipBottom, RowAtOrBelow(*std::max_element(S.Y, S.Y + N)));
  return true;
}

// Two attribute planes in fixed point, at x = 0 of row Top, each scaled by its lane of Scale: the rows rounded as
// Round with Limit, the steps as Round.
struct TFixedPair {
  I64x2 Row, StepX, StepY;
};

[[gnu::always_inline]] inline TFixedPair PlanesAt(const TPlanePair& P, const TSetup& Setup, int64_t Top, F64x2 Scale,
                                                  double Limit = kFixedLimit) {
  const F64x2 row = (P.F0 - P.Dx * Setup.X0 + P.Dy * (double(Top) - Setup.Y0)) * Scale;
  TFixedPair planes = {RoundTwo(row), RoundTwo(P.Dx * Scale), RoundTwo(P.Dy * Scale)};
  // Rows beyond RoundTwo's reach (texture coordinates far from the origin) are rounded one at a time.
  if (Limit > kFixedLimit && !Both((row >= -kFixedLimit) & (row <= kFixedLimit)))
    for (int i = 0; i < 2; ++i) planes.Row[i] = Round(row[i], Limit);
  return planes;
}

// The plane moved down by Rows rows.
TRasterPlane Below(const TRasterPlane& P, int64_t Rows) { return {P.Row + P.StepY * Rows, P.StepX, P.StepY}; }

// Channels 2 * H and 2 * H + 1 of a colour's fixed-point planes.
void PutChannels(TRasterColourPlanes& Out, int H, const I64x2& Row, const I64x2& StepX, const I64x2& StepY) {
  std::memcpy(Out.Row + 2 * H, &Row, sizeof Row);
  std::memcpy(Out.StepX + 2 * H, &StepX, sizeof StepX);
  std::memcpy(Out.StepY + 2 * H, &StepY, sizeof StepY);
}

// PlanesAt for a colour's four channels in 16.16 fixed point, and the steps from pixel to pixel, in the lanes Kept.
void ColourPlanesAt(const TColourPlanes& P, const TSetup& Setup, int64_t Top, const I64x2 (&Kept)[2],
                    TRasterColourPlanes& Out, int32_t (&PixelStep)[4]) {
  const F64x2 scale = F64x2{} + 65536.0;
  for (int h = 0; h < 2; ++h) {
    const TFixedPair planes = PlanesAt(P[h], Setup, Top, scale);
    PutChannels(Out, h, planes.Row & Kept[h], planes.StepX & Kept[h], planes.StepY & Kept[h]);
    // A colour gradient steeper than a full range per pixel only occurs across less than a pixel. Rounding keeps
    // the order of values, so the step clamped before rounding is the one clamped after.
    constexpr double kSteepest = 1 << 24;
    const I64x2 step = RoundTwo(ClampTwo(P[h].Dx * scale, -kSteepest, kSteepest)) & Kept[h];
    PixelStep[2 * h] = int32_t(step[0]);
    PixelStep[2 * h + 1] = int32_t(step[1]);
  }
}

// A colour that stays Value in the lanes Kept, 0 in the others.
void ConstantColour(int64_t Value, const I64x2 (&Kept)[2], TRasterColourPlanes& Out, int32_t (&PixelStep)[4]) {
  for (int h = 0; h < 2; ++h) PutChannels(Out, h, (I64x2{} + Value) & Kept[h], I64x2{}, I64x2{});
  std::memset(PixelStep, 0, sizeof PixelStep);
}

// A triangle's colour planes from row Top on: opaque white unless Shaded, no specular unless AddsSpecular. Written in
// place: a copy of the result would cost a string move per triangle.
void ColourPlanesAt(const TSetup& Setup, int64_t Top, bool Shaded, bool AddsSpecular, TRasterColours& Colours) {
  const I64x2 all[2] = {{-1, -1}, {-1, -1}}, noAlpha[2] = {{-1, -1}, {-1, 0}};
  if (Shaded)
    ColourPlanesAt(Setup.Diffuse, Setup, Top, all, Colours.Diffuse, Colours.DiffuseStep);
  else
    ConstantColour(255 * 65536, all, Colours.Diffuse, Colours.DiffuseStep);
  if (AddsSpecular)
    ColourPlanesAt(Setup.Specular, Setup, Top, noAlpha, Colours.Specular, Colours.SpecularStep);
  else
    ConstantColour(0, noAlpha, Colours.Specular, Colours.SpecularStep);
}

TRasterColours Below(const TRasterColours& C, int64_t Rows) {
  TRasterColours below = C;
  for (int c = 0; c < 4; ++c) {
    below.Diffuse.Row[c] += C.Diffuse.StepY[c] * Rows;
    below.Specular.Row[c] += C.Specular.StepY[c] * Rows;
  }
  return below;
}

// Places a polygon's colour and texture planes, which start at its top row, Down rows below it.
void PlanesBelow(TRasterRows& Rows, const TRasterColours& Colours, const TRasterPlane& U, const TRasterPlane& V,
                 int64_t Down) {
  Rows.Colours[0] = Below(Colours, Down);
  Rows.U = Below(U, Down);
  Rows.V = Below(V, Down);
}

// Texture coordinates: each step is rounded to kRasterTexelBits fraction bits, so a pixel x + y steps from the
// start is off by at most (x + y) / 2^25 texel, far inside the 1/512 texel within which the samplers' snap to
// 1/256 texel brings an exact value back. The start may lie a million repeats of the largest texture away, beyond
// the other attributes' bound.
void TexturePlanesAt(const TSetup& Setup, int64_t Top, const TRasterState& State, TRasterPlane& U, TRasterPlane& V) {
  constexpr double kTexelScale = double(int64_t(1) << kRasterTexelBits);
  constexpr double kTexelLimit = 4294967296.0 * kTexelScale;  // 2^32 texels
  U = V = {};
  if (!State.Texels) return;
  const F64x2 scale = F64x2{double(State.TextureWidth), double(State.TextureHeight)} * kTexelScale;
  const TFixedPair planes = PlanesAt(Setup.Texture, Setup, Top, scale, kTexelLimit);
  U = {planes.Row[0], planes.StepX[0], planes.StepY[0]};
  V = {planes.Row[1], planes.StepX[1], planes.StepY[1]};
}

// Edge I->I+1 of a clockwise polygon (y down): E(p) = dx * (py - ay) - dy * (px - ax), inside where E >= 0 on top
// and left edges and E > 0 on the others. Per row E is linear in px, which gives each edge's bound from Row on.
TRasterEdge EdgeAt(const TSnapped& S, int I, int64_t Row) {
  int J = NextCorner(I, S.N);
  int64_t dx = S.X[J] - S.X[I], dy = S.Y[J] - S.Y[I];
  int64_t m = dx * (Row * (1 << kSubpixelBits) - S.Y[I]) + dy * S.X[I] - (dy < 0 ? 0 : 1);
  int64_t dm = dx * (1 << kSubpixelBits);
  TRasterEdge e;
  e.D = std::abs(dy) * (1 << kSubpixelBits);
  if (dx == 0) {
    // An upright edge (the sides of most sprites) keeps its bound, which needs no division: m / D is -x / 256
    // where it rises, and (x - 1 / dy) / 256 where it falls, whose floor is that of (x - 1) / 256.
    e.Q = (dy < 0 ? -S.X[I] : S.X[I] - 1) >> kSubpixelBits;
    e.DQ = 0;
  } else {
    e.Q = FloorDiv(m, e.D);
    e.DQ = FloorDiv(dm, e.D);
  }
  e.R = m - e.Q * e.D;
  e.DR = dm - e.DQ * e.D;
  return e;
}

// The edges that bound rows [First, End) on the left and the right, which lie between two corners' rows. Going
// round, edges that rise bound rows on the left and edges that fall on the right; horizontal ones lie at the top
// or the bottom corner and bound no row. Each row takes its bound from the side's edge beside it: the other edges
// of a convex side pass outside, so theirs is never tighter. False when the polygon has no such rows.
bool SideEdges(const TSnapped& S, int64_t First, int64_t End, int& Left, int& Right) {
  Left = Right = -1;
  if (First < S.Top || End > S.Bottom) return false;
  for (int i = 0; i < S.N; ++i) {
    int j = NextCorner(i, S.N);
    int64_t from = RowAtOrBelow(std::min(S.Y[i], S.Y[j])), to = RowAtOrBelow(std::max(S.Y[i], S.Y[j]));
    if (from > First || to < End) continue;
    if (S.Y[j] < S.Y[i]) Left = i;
    if (S.Y[j] > S.Y[i]) Right = i;
  }
  return Left >= 0 && Right >= 0;  // always, for a convex polygon
}

// Rows where a side of one of the polygons changes edge, within [Top, Bottom), sorted, with Top and Bottom; a
// stretch between two of them has one edge on each side. Returns how many.
int CutRows(const TSnapped* Shapes, int Count, int64_t Top, int64_t Bottom, int64_t (&Cuts)[10]) {
  int n = 0;
  Cuts[n++] = Top;
  Cuts[n++] = Bottom;
  for (int s = 0; s < Count; ++s)
    for (int i = 0; i < Shapes[s].N; ++i) Cuts[n++] = std::clamp(RowAtOrBelow(Shapes[s].Y[i]), Top, Bottom);
  std::sort(Cuts, Cuts + n);
  return n;
}

// Draws a convex polygon of three or four corners, all with the same attribute planes. Returns false, having drawn
// nothing, when a four-cornered one does not turn the same way at every corner once snapped (its caller then draws
// it as two triangles).
bool Rasterise(const TClipPoint* P, int N, const TSetup& Setup, const TRasterState& State, TRasterKernel Kernel,
               bool Shaded, bool AddsSpecular) {
  TSnapped shape;
  if (!Snap(P, N, State, shape)) return N == 3;
  if (shape.Top >= shape.Bottom) return true;
  TRasterColours colours;
  ColourPlanesAt(Setup, shape.Top, Shaded, AddsSpecular, colours);
  TRasterPlane u, v;
  TexturePlanesAt(Setup, shape.Top, State, u, v);
  int64_t cuts[10];
  const int cutCount = CutRows(&shape, 1, shape.Top, shape.Bottom, cuts);
  TRasterRows rows{};
  for (int k = 0; k + 1 < cutCount; ++k) {
    int64_t first = cuts[k], end = cuts[k + 1];
    int left, right;
    if (first == end || !SideEdges(shape, first, end, left, right)) continue;
    rows.Target = State.Target + first * State.TargetPitch;
    rows.Count = int32_t(end - first);
    rows.Left = EdgeAt(shape, left, first);
    rows.Right = EdgeAt(shape, right, first);
    PlanesBelow(rows, colours, u, v, first - shape.Top);
    Kernel(rows, State);
  }
  return true;
}

// The triangles A, B, C and B, C, D of an upright rectangle (A top left, B top right, C bottom left, D bottom
// right) snapped as Snap snaps them, without its general steps; false when the quad is no such rectangle, or no
// longer one of some area once snapped. The first runs A, B, C clockwise, the second D, C, B: both span the same
// rows, the first's edge 1 (B to C) is the second's edge 1 run the other way, and their edges 2 are the
// rectangle's left and right sides.
bool SnapUprightRectangle(const TClipPoint (&Quad)[4], const TRasterState& State, TSnapped (&Shape)[2]) {
  const TClipPoint &a = Quad[0], &b = Quad[1], &c = Quad[2], &d = Quad[3];
  if (!(a.Y == b.Y && c.Y == d.Y && a.X == c.X && b.X == d.X && a.X < b.X && a.Y < c.Y)) return false;
  const I64x2 columns = RoundTwo(F64x2{a.X, b.X} * kSubpixelScale), rows = RoundTwo(F64x2{a.Y, c.Y} * kSubpixelScale);
  const int64_t left = columns[0], right = columns[1], top = rows[0], bottom = rows[1];
  if (left >= right || top >= bottom) return false;
  const int64_t firstRow = std::max<int64_t>(State.ClipTop, RowAtOrBelow(top));
  const int64_t endRow = std::min<int64_t>(State.ClipBottom, RowAtOrBelow(bottom));
  // Corner by corner: an aggregate would also zero the unused fourth corners, with a string store each.
  auto triangle = [firstRow, endRow](TSnapped& S, int64_t X0, int64_t X1, int64_t Y0, int64_t Y2) {
    S.N = 3;
    S.X[0] = S.X[2] = X0;
    S.X[1] = X1;
    S.Y[0] = S.Y[1] = Y0;
    S.Y[2] = Y2;
    S.Top = firstRow;
    S.Bottom = endRow;
  };
  triangle(Shape[0], left, right, top, bottom);
  triangle(Shape[1], right, left, bottom, top);
  return true;
}

// Draws the triangles A, B, C and B, C, D of a convex quad at once, with a split kernel: where a row crosses the
// edge B, C they share, it is one span whose colours change from one triangle's to the other's there, without
// the seam of two spans meeting inside a group of pixels. The pixels are those the two triangles draw one after
// the other: by the fill rule the shared edge's bound for the one is exactly one column short of the other's.
// Returns false, having drawn nothing, when a triangle has no area, or when their texture coordinates, which
// the kernel takes as one plane, differ in their fixed-point form.
bool RasteriseSplit(const TClipPoint (&Quad)[4], const TSetup* const (&Setup)[2], const TRasterState& State,
                    TRasterKernel Kernel, bool AddsSpecular) {
  const TClipPoint corners[2][3] = {{Quad[0], Quad[1], Quad[2]}, {Quad[1], Quad[2], Quad[3]}};
  TSnapped shape[2];
  TRasterPlane u[2], v[2];
  const bool upright = SnapUprightRectangle(Quad, State, shape);
  // An upright rectangle is one stretch of rows, whose colours go straight where its kernel reads them; the walk
  // below moves each triangle's to every stretch, so it keeps them apart.
  TRasterRows stretch;  // every member set for an upright rectangle
  TRasterColours apart[2];
  TRasterColours* const colours = upright ? stretch.Colours : apart;
  for (int t = 0; t < 2; ++t) {
    if (!upright && !Snap(corners[t], 3, State, shape[t])) return false;
    ColourPlanesAt(*Setup[t], shape[t].Top, true, AddsSpecular, colours[t]);
    TexturePlanesAt(*Setup[t], shape[t].Top, State, u[t], v[t]);
  }
  const int64_t top = std::min(shape[0].Top, shape[1].Top), bottom = std::max(shape[0].Bottom, shape[1].Bottom);
  auto samePlane = [&](const TRasterPlane(&P)[2]) {
    return P[0].StepX == P[1].StepX && P[0].StepY == P[1].StepY &&
           Below(P[0], top - shape[0].Top).Row == Below(P[1], top - shape[1].Top).Row;
  };
  if (!samePlane(u) || !samePlane(v)) return false;
  if (top >= bottom) return true;
  if (upright) {
    // The walk below would find that stretch, from the left side to the right, split along the diagonal.
    stretch.Target = State.Target + top * State.TargetPitch;
    stretch.Count = int32_t(bottom - top);
    stretch.Left = EdgeAt(shape[0], 2, top);
    stretch.Right = EdgeAt(shape[1], 2, top);
    stretch.Split = EdgeAt(shape[0], 1, top);
    stretch.U = u[0];
    stretch.V = v[0];
    Kernel(stretch, State);
    return true;
  }

  // Whether edge I of a triangle is the shared one, either way round.
  const int64_t bx = Round(Quad[1].X * kSubpixelScale), by = Round(Quad[1].Y * kSubpixelScale);
  const int64_t cx = Round(Quad[2].X * kSubpixelScale), cy = Round(Quad[2].Y * kSubpixelScale);
  auto shared = [&](const TSnapped& S, int I) {
    int J = NextCorner(I, 3);
    return (S.X[I] == bx && S.Y[I] == by && S.X[J] == cx && S.Y[J] == cy) ||
           (S.X[I] == cx && S.Y[I] == cy && S.X[J] == bx && S.Y[J] == by);
  };
  TRasterRows rows{};
  int64_t cuts[10];
  const int cutCount = CutRows(shape, 2, top, bottom, cuts);
  for (int k = 0; k + 1 < cutCount; ++k) {
    int64_t first = cuts[k], end = cuts[k + 1];
    if (first == end) continue;
    int left[2], right[2];
    bool has[2];
    for (int t = 0; t < 2; ++t) has[t] = SideEdges(shape[t], first, end, left[t], right[t]);
    rows.Target = State.Target + first * State.TargetPitch;
    rows.Count = int32_t(end - first);
    // Both triangles in these rows: the one whose right side is the shared edge lies to the left.
    int l = !(has[0] && has[1]) ? -1 : shared(shape[0], right[0]) ? 0 : shared(shape[1], right[1]) ? 1 : -1;
    if (l >= 0 && shared(shape[1 - l], left[1 - l])) {
      int r = 1 - l;
      rows.Left = EdgeAt(shape[l], left[l], first);
      rows.Right = EdgeAt(shape[r], right[r], first);
      rows.Split = EdgeAt(shape[l], right[l], first);
      PlanesBelow(rows, colours[l], u[l], v[l], first - shape[l].Top);
      rows.Colours[1] = Below(colours[r], first - shape[r].Top);
      Kernel(rows, State);
      continue;
    }
    // Otherwise each triangle with rows here draws them alone, split at its right side.
    for (int t = 0; t < 2; ++t) {
      if (!has[t]) continue;
      rows.Left = EdgeAt(shape[t], left[t], first);
      rows.Right = rows.Split = EdgeAt(shape[t], right[t], first);
      PlanesBelow(rows, colours[t], u[t], v[t], first - shape[t].Top);
      rows.Colours[1] = rows.Colours[0];
      Kernel(rows, State);
    }
  }
  return true;
}

// Clips a polygon to the guard band (one side at a time); returns the new vertex count.
int ClipToGuardBand(TClipPoint* Poly, int Count) {
  TClipPoint work[16];
  for (int side = 0; side < 4 && Count > 0; ++side) {
    int out = 0;
    auto inside = [side](const TClipPoint& P) {
      switch (side) {
        case 0: return P.X >= -kGuardBand;
        case 1: return P.X <= kGuardBand;
        case 2: return P.Y >= -kGuardBand;
        default: return P.Y <= kGuardBand;
      }
    };
    auto cross = [side](const TClipPoint& A, const TClipPoint& B) {
      double bound = (side == 0 || side == 2) ? -kGuardBand : kGuardBand;
      double t = side < 2 ? (bound - A.X) / (B.X - A.X) : (bound - A.Y) / (B.Y - A.Y);
      return TClipPoint{A.X + (B.X - A.X) * t, A.Y + (B.Y - A.Y) * t};
    };
    for (int i = 0; i < Count; ++i) {
      const TClipPoint& a = Poly[i];
      const TClipPoint& b = Poly[(i + 1) % Count];
      bool inA = inside(a), inB = inside(b);
      if (inA) work[out++] = a;
      if (inA != inB) work[out++] = cross(a, b);
    }
    Count = out;
    std::copy(work, work + Count, Poly);
  }
  return Count;
}

// Whether the corners A, B, D, C (in this order) are those of an upright rectangle of some area (then also convex).
bool UprightRectangle(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, const TRasterVertex& D) {
  return A.Y == B.Y && C.Y == D.Y && A.X == C.X && B.X == D.X && A.X != B.X && A.Y != C.Y;
}

// Whether the corners A, B, D, C (in this order) turn the same way at every corner.
bool ConvexQuad(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, const TRasterVertex& D) {
  const TRasterVertex* ring[4] = {&A, &B, &D, &C};
  int positive = 0, negative = 0;
  for (int i = 0; i < 4; ++i) {
    const TRasterVertex &p = *ring[i], &q = *ring[(i + 1) % 4], &r = *ring[(i + 2) % 4];
    double cross = (double(q.X) - p.X) * (double(r.Y) - q.Y) - (double(q.Y) - p.Y) * (double(r.X) - q.X);
    positive += cross > 0;
    negative += cross < 0;
  }
  return positive == 4 || negative == 4;
}

// Whether the planes P take the values Value at X, Y from their origin, to within Tolerance, in each lane.
I64x2 Matches(const TPlanePair& P, double X, double Y, F64x2 Value, F64x2 Tolerance) {
  const F64x2 off = P.F0 + P.Dx * X + P.Dy * Y - Value;
  return (off <= Tolerance) & (-off <= Tolerance);
}

bool Finite(const TRasterVertex& V) { return std::isfinite(V.X) && std::isfinite(V.Y); }

bool InGuardBand(const TRasterVertex& V) { return std::fabs(V.X) <= kGuardBand && std::fabs(V.Y) <= kGuardBand; }

// Twice the signed area of triangle A, B, C: positive when it turns clockwise on screen (y down).
double Determinant(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C) {
  return (double(B.X) - A.X) * (double(C.Y) - A.Y) - (double(C.X) - A.X) * (double(B.Y) - A.Y);
}

// Reversed: the triangle is an odd one of a strip, whose winding reads the other way round.
bool Culled(double Det, bool Reversed, const TRasterState& State) {
  bool clockwise = (Det > 0) != Reversed;
  return (State.CullMode == 3 && !clockwise) || (State.CullMode == 2 && clockwise);
}

// The attribute planes of triangle A, B, C, whose determinant is Det (neither 0 nor infinite).
TSetup PlanesOf(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, double Det,
                const TRasterState& State) {
  TSetup setup;
  double x0 = A.X, y0 = A.Y;
  double ex1 = double(B.X) - x0, ey1 = double(B.Y) - y0, ex2 = double(C.X) - x0, ey2 = double(C.Y) - y0;
  setup.X0 = x0;
  setup.Y0 = y0;
  double invDet = 1.0 / Det;
  // A colour the three corners share (or flat shading's first corner's) is constant: MakePlanes finds so too.
  auto colourPlanes = [&](uint32_t P, uint32_t Q, uint32_t R, TColourPlanes& Planes) {
    F64x2 p[2], q[2], r[2];
    ChannelsOf(P, p);
    const bool constant = State.FlatShade || (P == Q && P == R);
    if (!constant) {
      ChannelsOf(Q, q);
      ChannelsOf(R, r);
    }
    for (int h = 0; h < 2; ++h)
      Planes[h] =
          constant ? TPlanePair{p[h], F64x2{}, F64x2{}} : MakePlanes(p[h], q[h], r[h], ex1, ey1, ex2, ey2, invDet);
  };
  colourPlanes(A.Diffuse, B.Diffuse, C.Diffuse, setup.Diffuse);
  colourPlanes(A.Specular, B.Specular, C.Specular, setup.Specular);
  setup.Texture =
      MakePlanes(TextureCoordinates(A), TextureCoordinates(B), TextureCoordinates(C), ex1, ey1, ex2, ey2, invDet);
  return setup;
}

// How a triangle's pixels are drawn: its sampler and colouring, and whether its kernel reads the specular colour.
struct TDrawing {
  TRasterSampler Sampler;
  TRasterColouring Colouring;
  bool NeedsSpecular;
};

TDrawing DrawingOf(const TSetup& Setup, const TRasterState& State) {
  // Magnification or minification, from the texels one pixel step covers.
  bool linear = State.MagLinear;
  if (State.Texels) {
    double w = State.TextureWidth, h = State.TextureHeight;
    const TPlanePair& t = Setup.Texture;
    double ux = t.Dx[0] * w, vx = t.Dx[1] * h, uy = t.Dy[0] * w, vy = t.Dy[1] * h;
    if (std::max(ux * ux + vx * vx, uy * uy + vy * vy) > 1.0) linear = State.MinLinear;
  }
  // Whether a colour is Value in its first Channels channels.
  auto constant = [](const TColourPlanes& P, double Value, int Channels) {
    const I64x2 ignored[2] = {{0, 0}, {0, Channels < 4 ? -1 : 0}};
    I64x2 same = I64x2{} - 1;
    for (int h = 0; h < 2; ++h) same &= ((P[h].Dx == 0) & (P[h].Dy == 0) & (P[h].F0 == Value)) | ignored[h];
    return Both(same);
  };
  bool addsSpecular = State.Specular && !constant(Setup.Specular, 0, 3);
  bool white = constant(Setup.Diffuse, 255, 4);
  TDrawing drawing;
  drawing.Sampler = MakeRasterSampler(State.Texels != nullptr, linear, State.WrapU, State.WrapV);
  drawing.Colouring = addsSpecular ? TRasterColouring::ShadedSpecular
                      : white      ? TRasterColouring::Plain
                                   : TRasterColouring::Shaded;
  // The general path reads the specular colour as a stage argument even when it is not added.
  drawing.NeedsSpecular = addsSpecular || !State.FastStage || State.Blend == TRasterBlend::Generic;
  return drawing;
}

// Whether D lies on the attribute planes of triangle A, B, C (colours to well under a rounding step, texture
// coordinates to float precision): then the quad's two triangles would draw the same, and it is one polygon.
bool OnPlanes(const TSetup& Setup, const TRasterVertex& D) {
  double dx = double(D.X) - Setup.X0, dy = double(D.Y) - Setup.Y0;
  // A shaded quad's corner is most often off its diffuse planes, so those are tested first.
  const F64x2 colourTolerance = F64x2{} + 1.0 / 1024;
  F64x2 diffuse[2], specular[2];
  ChannelsOf(D.Diffuse, diffuse);
  if (!Both(Matches(Setup.Diffuse[0], dx, dy, diffuse[0], colourTolerance) &
            Matches(Setup.Diffuse[1], dx, dy, diffuse[1], colourTolerance)))
    return false;
  ChannelsOf(D.Specular, specular);
  I64x2 on = I64x2{} - 1;
  for (int h = 0; h < 2; ++h) on &= Matches(Setup.Specular[h], dx, dy, specular[h], colourTolerance);
  const F64x2 uv = TextureCoordinates(D);
  const F64x2 size = uv < 0 ? -uv : uv;
  return Both(on & Matches(Setup.Texture, dx, dy, uv, 1e-6 * (1 + size)));
}

// Draws a convex polygon of three or four corners within the guard band, all on the attribute planes Setup;
// false as Rasterise.
bool DrawPolygon(const TClipPoint* P, int N, const TSetup& Setup, const TRasterState& State) {
  const TDrawing drawing = DrawingOf(Setup, State);
  TRasterKernel kernel = SelectRasterKernel(State, drawing.Sampler, drawing.Colouring);
  return Rasterise(P, N, Setup, State, kernel, drawing.Colouring != TRasterColouring::Plain, drawing.NeedsSpecular);
}

// The triangles A, B, C (planes First) and B, C, D of a convex quad within the guard band, in one walk, each row
// one span across both; false, having drawn nothing, when they cannot be drawn so.
bool DrawSplit(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, const TRasterVertex& D,
               const TSetup& First, const TRasterState& State) {
  double det = Determinant(B, C, D);
  if (det == 0 || !std::isfinite(det) || Culled(det, true, State)) return false;
  const TSetup second = PlanesOf(B, C, D, det, State);
  const TSetup* const setup[2] = {&First, &second};
  const TDrawing drawing[2] = {DrawingOf(First, State), DrawingOf(second, State)};
  if (drawing[0].Sampler != drawing[1].Sampler) return false;
  // A plain triangle drawn with the shaded kernel keeps its pixels: its colour planes are opaque white.
  TRasterColouring colouring = std::max({drawing[0].Colouring, drawing[1].Colouring, TRasterColouring::Shaded});
  TRasterKernel kernel = SelectRasterKernel(State, drawing[0].Sampler, colouring, true);
  const TClipPoint quad[4] = {{A.X, A.Y}, {B.X, B.Y}, {C.X, C.Y}, {D.X, D.Y}};
  return RasteriseSplit(quad, setup, State, kernel, drawing[0].NeedsSpecular || drawing[1].NeedsSpecular);
}

// Draws triangle A, B, C, set up as Setup, clipping it to the guard band first where it reaches beyond.
void FillTriangle(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, const TSetup& Setup,
                  const TRasterState& State) {
  TClipPoint poly[16] = {{A.X, A.Y}, {B.X, B.Y}, {C.X, C.Y}};
  const int count = InGuardBand(A) && InGuardBand(B) && InGuardBand(C) ? 3 : ClipToGuardBand(poly, 3);
  for (int i = 1; i + 1 < count; ++i) {
    const TClipPoint fan[3] = {poly[0], poly[i], poly[i + 1]};
    DrawPolygon(fan, 3, Setup, State);
  }
}

}  // namespace

void TRasterizer::DrawTriangle(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, bool Reversed,
                               const TRasterState& State) {
  if (State.ClipLeft >= State.ClipRight || State.ClipTop >= State.ClipBottom) return;
  if (!Finite(A) || !Finite(B) || !Finite(C)) return;
  double det = Determinant(A, B, C);
  if (det == 0 || !std::isfinite(det) || Culled(det, Reversed, State)) return;
  FillTriangle(A, B, C, PlanesOf(A, B, C, det, State), State);
}

void TRasterizer::DrawQuad(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C,
                           const TRasterVertex& D, const TRasterState& State) {
  if (State.ClipLeft >= State.ClipRight || State.ClipTop >= State.ClipBottom) return;
  const double det = Determinant(A, B, C);
  if (Finite(A) && Finite(B) && Finite(C) && Finite(D) && (UprightRectangle(A, B, C, D) || ConvexQuad(A, B, C, D)) &&
      det != 0 && std::isfinite(det)) {
    // A convex quad's two triangles wind alike.
    if (Culled(det, false, State)) return;
    const TSetup first = PlanesOf(A, B, C, det, State);
    const bool inBand = InGuardBand(A) && InGuardBand(B) && InGuardBand(C) && InGuardBand(D);
    if (inBand && !State.FlatShade && OnPlanes(first, D)) {
      const TClipPoint around[4] = {{A.X, A.Y}, {B.X, B.Y}, {D.X, D.Y}, {C.X, C.Y}};
      if (DrawPolygon(around, 4, first, State)) return;
    }
    if (inBand && DrawSplit(A, B, C, D, first, State)) return;
    // Two triangles after all; the first is set up already.
    FillTriangle(A, B, C, first, State);
    DrawTriangle(B, C, D, true, State);
    return;
  }
  DrawTriangle(A, B, C, false, State);
  DrawTriangle(B, C, D, true, State);
}
