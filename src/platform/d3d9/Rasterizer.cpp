#include "Rasterizer.h"
#include <algorithm>
#include <cmath>
#include <cstring>

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

inline int64_t Round(double X, double Limit = kFixedLimit) {
  if (!(X > -Limit)) X = -Limit;  // also catches NaN
  if (X > Limit) X = Limit;
  X += 0.5;
  int64_t t = static_cast<int64_t>(X);
  return t - (static_cast<double>(t) > X ? 1 : 0);
}

int64_t FloorDiv(int64_t A, int64_t B) {  // B > 0
  int64_t q = A / B;
  return (A % B != 0 && A < 0) ? q - 1 : q;
}

// An attribute as a plane over the screen: F(x, y) = F0 + Dx * (x - X0) + Dy * (y - Y0).
struct TPlane {
  double F0, Dx, Dy;
};

struct TSetup {
  double X0, Y0;
  TPlane Diffuse[4], Specular[4], U, V;
};

double ChannelOf(uint32_t Colour, int C) { return double((Colour >> (8 * C)) & 255); }

TPlane MakePlane(double F0, double F1, double F2, double Ex1, double Ey1, double Ex2, double Ey2, double InvDet) {
  double d1 = F1 - F0, d2 = F2 - F0;
  if (d1 == 0 && d2 == 0) return {F0, 0, 0};
  return {F0, (d1 * Ey2 - d2 * Ey1) * InvDet, (d2 * Ex1 - d1 * Ex2) * InvDet};
}

struct TClipPoint {
  double X, Y;
};

// Row of the first pixel centre at or below a position in subpixels.
int64_t RowAtOrBelow(int64_t Y) { return -FloorDiv(-Y, 1 << kSubpixelBits); }

// Draws a convex polygon of three or four corners, all with the same attribute planes. Returns false, having drawn
// nothing, when a four-cornered one does not turn the same way at every corner once snapped (its caller then draws
// it as two triangles).
bool Rasterise(const TClipPoint* P, int N, const TSetup& Setup, const TRasterState& State, TRasterKernel Kernel,
               bool Shaded, bool AddsSpecular) {
  int64_t x[4], y[4];
  for (int i = 0; i < N; ++i) {
    x[i] = Round(P[i].X * kSubpixelScale);
    y[i] = Round(P[i].Y * kSubpixelScale);
  }
  int64_t area = 0;
  for (int i = 0; i < N; ++i) area += x[i] * y[(i + 1) % N] - x[(i + 1) % N] * y[i];
  if (area == 0) return N == 3;
  if (area < 0) {
    std::reverse(x, x + N);
    std::reverse(y, y + N);
  }
  for (int i = 0; i < N && N == 4; ++i) {
    int j = (i + 1) % N, k = (i + 2) % N;
    if ((x[j] - x[i]) * (y[k] - y[j]) - (y[j] - y[i]) * (x[k] - x[j]) <= 0) return false;
  }
  // Rows whose centres lie in [top corner, bottom corner), within the clip rectangle. A row through the bottom
  // corner is empty by the fill rule, whether a corner or a bottom edge lies there.
  int64_t minY = *std::min_element(y, y + N), maxY = *std::max_element(y, y + N);
  const int64_t top = std::max<int64_t>(State.ClipTop, RowAtOrBelow(minY));
  const int64_t bottom = std::min<int64_t>(State.ClipBottom, RowAtOrBelow(maxY));
  if (top >= bottom) return true;

  // Attributes in fixed point, at x = 0 of the top row.
  auto plane = [&](const TPlane& P, double Scale, double Limit = kFixedLimit) {
    return TRasterPlane{Round((P.F0 - P.Dx * Setup.X0 + P.Dy * (double(top) - Setup.Y0)) * Scale, Limit),
                        Round(P.Dx * Scale), Round(P.Dy * Scale)};
  };
  // A colour gradient steeper than a full range per pixel only occurs across less than a pixel.
  auto colourStep = [](int64_t Step) { return int32_t(std::clamp<int64_t>(Step, -(1 << 24), 1 << 24)); };
  TRasterRows rows{};
  for (int c = 0; c < 4; ++c) {
    rows.Diffuse[c] = {255 * 65536, 0, 0};
    if (Shaded) rows.Diffuse[c] = plane(Setup.Diffuse[c], 65536.0);
    rows.DiffuseStep[c] = colourStep(rows.Diffuse[c].StepX);
  }
  for (int c = 0; c < 3; ++c) {
    if (AddsSpecular) rows.Specular[c] = plane(Setup.Specular[c], 65536.0);
    rows.SpecularStep[c] = colourStep(rows.Specular[c].StepX);
  }
  // Texture coordinates: each step is rounded to kRasterTexelBits fraction bits, so a pixel x + y steps from the
  // start is off by at most (x + y) / 2^25 texel, far inside the 1/512 texel within which the samplers' snap
  // to 1/256 texel brings an exact value back. The start may lie a million repeats of the largest texture away,
  // beyond the other attributes' bound.
  constexpr double kTexelScale = double(int64_t(1) << kRasterTexelBits);
  constexpr double kTexelLimit = 4294967296.0 * kTexelScale;  // 2^32 texels
  if (State.Texels) {
    rows.U = plane(Setup.U, State.TextureWidth * kTexelScale, kTexelLimit);
    rows.V = plane(Setup.V, State.TextureHeight * kTexelScale, kTexelLimit);
  }

  // Edge a->b of a clockwise polygon (y down): E(p) = dx * (py - ay) - dy * (px - ax), inside where E >= 0 on
  // top and left edges and E > 0 on the others. Per row E is linear in px, which gives each edge's bound. Going
  // round, edges that rise bound rows on the left and edges that fall on the right; horizontal ones lie at the top
  // or the bottom corner and bound no row of [top, bottom). Each row takes its bound from the side's edge beside
  // it: the other edges of a convex side pass outside, so theirs is never tighter.
  auto edgeAt = [&](int I, int64_t Row) {
    int J = (I + 1) % N;
    int64_t dx = x[J] - x[I], dy = y[J] - y[I];
    int64_t m = dx * (Row * (1 << kSubpixelBits) - y[I]) + dy * x[I] - (dy < 0 ? 0 : 1);
    int64_t dm = dx * (1 << kSubpixelBits);
    TRasterEdge e;
    e.D = std::abs(dy) * (1 << kSubpixelBits);
    e.Q = FloorDiv(m, e.D);
    e.R = m - e.Q * e.D;
    e.DQ = FloorDiv(dm, e.D);
    e.DR = dm - e.DQ * e.D;
    return e;
  };
  // Rows change sides' edges at the corners' rows; between two such rows one edge bounds each side.
  int64_t cuts[6] = {top, bottom};
  int cutCount = 2;
  for (int i = 0; i < N; ++i) cuts[cutCount++] = std::clamp(RowAtOrBelow(y[i]), top, bottom);
  std::sort(cuts, cuts + cutCount);
  const int32_t stride = State.TargetPitch;
  for (int k = 0; k + 1 < cutCount; ++k) {
    int64_t first = cuts[k], end = cuts[k + 1];
    if (first == end) continue;
    int leftEdge = -1, rightEdge = -1;
    for (int i = 0; i < N; ++i) {
      int j = (i + 1) % N;
      int64_t from = RowAtOrBelow(std::min(y[i], y[j])), to = RowAtOrBelow(std::max(y[i], y[j]));
      if (from > first || to < end) continue;
      if (y[j] < y[i]) leftEdge = i;
      if (y[j] > y[i]) rightEdge = i;
    }
    if (leftEdge >= 0 && rightEdge >= 0) {  // always, for a convex shape
      rows.Target = State.Target + first * stride;
      rows.Count = int32_t(end - first);
      rows.Left = edgeAt(leftEdge, first);
      rows.Right = edgeAt(rightEdge, first);
      Kernel(rows, State);
    }
    int64_t advance = end - first;
    for (int c = 0; c < 4; ++c) rows.Diffuse[c].Row += rows.Diffuse[c].StepY * advance;
    for (int c = 0; c < 3; ++c) rows.Specular[c].Row += rows.Specular[c].StepY * advance;
    rows.U.Row += rows.U.StepY * advance;
    rows.V.Row += rows.V.StepY * advance;
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

}  // namespace

void TRasterizer::DrawTriangle(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C, bool Reversed,
                               const TRasterState& State) {
  DrawShape(A, B, C, nullptr, Reversed, State);
}

void TRasterizer::DrawQuad(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C,
                           const TRasterVertex& D, const TRasterState& State) {
  if (State.FlatShade || !DrawShape(A, B, C, &D, false, State)) {
    DrawShape(A, B, C, nullptr, false, State);
    DrawShape(B, C, D, nullptr, true, State);
  }
}

namespace {

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

bool Matches(const TPlane& P, double X, double Y, double Value, double Tolerance) {
  return std::fabs(P.F0 + P.Dx * X + P.Dy * Y - Value) <= Tolerance;
}

}  // namespace

bool TRasterizer::DrawShape(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C,
                            const TRasterVertex* D, bool Reversed, const TRasterState& State) {
  if (State.ClipLeft >= State.ClipRight || State.ClipTop >= State.ClipBottom) return true;
  const TRasterVertex* v[4] = {&A, &B, &C, D};
  for (int i = 0; i < (D ? 4 : 3); ++i)
    if (!std::isfinite(v[i]->X) || !std::isfinite(v[i]->Y)) return D == nullptr;
  if (D && !ConvexQuad(A, B, C, *D)) return false;

  double x0 = A.X, y0 = A.Y;
  double ex1 = double(B.X) - x0, ey1 = double(B.Y) - y0, ex2 = double(C.X) - x0, ey2 = double(C.Y) - y0;
  double det = ex1 * ey2 - ex2 * ey1;
  if (det == 0 || !std::isfinite(det)) return D == nullptr;
  // Screen winding with y down: Det > 0 is clockwise. A convex quad's two triangles wind alike.
  bool clockwise = (det > 0) != Reversed;
  if ((State.CullMode == 3 && !clockwise) || (State.CullMode == 2 && clockwise)) return true;

  TSetup setup;
  setup.X0 = x0;
  setup.Y0 = y0;
  double invDet = 1.0 / det;
  for (int ch = 0; ch < 4; ++ch) {
    if (State.FlatShade) {
      setup.Diffuse[ch] = {ChannelOf(A.Diffuse, ch), 0, 0};
      setup.Specular[ch] = {ChannelOf(A.Specular, ch), 0, 0};
    } else {
      setup.Diffuse[ch] = MakePlane(ChannelOf(A.Diffuse, ch), ChannelOf(B.Diffuse, ch), ChannelOf(C.Diffuse, ch), ex1,
                                    ey1, ex2, ey2, invDet);
      setup.Specular[ch] = MakePlane(ChannelOf(A.Specular, ch), ChannelOf(B.Specular, ch), ChannelOf(C.Specular, ch),
                                     ex1, ey1, ex2, ey2, invDet);
    }
  }
  // Texture coordinates beyond a million repeats carry no meaning; they are held there (and NaN read as 0).
  auto coordinate = [](float T) { return std::isnan(T) ? 0.0 : std::clamp(double(T), -1e6, 1e6); };
  setup.U = MakePlane(coordinate(A.U), coordinate(B.U), coordinate(C.U), ex1, ey1, ex2, ey2, invDet);
  setup.V = MakePlane(coordinate(A.V), coordinate(B.V), coordinate(C.V), ex1, ey1, ex2, ey2, invDet);

  // A quad is one polygon only when its fourth corner lies on the planes of the first three (colours to well
  // under a rounding step, texture coordinates to float precision): then both triangles would draw the same.
  if (D) {
    double dx = double(D->X) - x0, dy = double(D->Y) - y0;
    for (int ch = 0; ch < 4; ++ch)
      if (!Matches(setup.Diffuse[ch], dx, dy, ChannelOf(D->Diffuse, ch), 1.0 / 1024) ||
          !Matches(setup.Specular[ch], dx, dy, ChannelOf(D->Specular, ch), 1.0 / 1024))
        return false;
    double du = coordinate(D->U), dv = coordinate(D->V);
    if (!Matches(setup.U, dx, dy, du, 1e-6 * (1 + std::fabs(du))) ||
        !Matches(setup.V, dx, dy, dv, 1e-6 * (1 + std::fabs(dv))))
      return false;
  }

  // Magnification or minification, from the texels one pixel step covers.
  bool linear = State.MagLinear;
  if (State.Texels) {
    double w = State.TextureWidth, h = State.TextureHeight;
    double ux = setup.U.Dx * w, vx = setup.V.Dx * h, uy = setup.U.Dy * w, vy = setup.V.Dy * h;
    if (std::max(ux * ux + vx * vx, uy * uy + vy * vy) > 1.0) linear = State.MinLinear;
  }
  auto constant = [](const TPlane& P, double Value) { return P.Dx == 0 && P.Dy == 0 && P.F0 == Value; };
  bool addsSpecular = State.Specular && !(constant(setup.Specular[0], 0) && constant(setup.Specular[1], 0) &&
                                          constant(setup.Specular[2], 0));
  bool white = constant(setup.Diffuse[0], 255) && constant(setup.Diffuse[1], 255) && constant(setup.Diffuse[2], 255) &&
               constant(setup.Diffuse[3], 255);
  TRasterColouring colouring = addsSpecular ? TRasterColouring::ShadedSpecular
                               : white      ? TRasterColouring::Plain
                                            : TRasterColouring::Shaded;
  // The general path reads the specular colour as a stage argument even when it is not added.
  bool needsSpecular = addsSpecular || !State.FastStage || State.Blend == TRasterBlend::Generic;
  TRasterKernel kernel = SelectRasterKernel(
      State, MakeRasterSampler(State.Texels != nullptr, linear, State.WrapU, State.WrapV), colouring);
  const bool shaded = colouring != TRasterColouring::Plain;

  TClipPoint poly[16] = {{A.X, A.Y}, {B.X, B.Y}, {C.X, C.Y}};
  if (D) poly[2] = {D->X, D->Y}, poly[3] = {C.X, C.Y};  // around the quad: A, B, D, C
  const int corners = D ? 4 : 3;
  bool inBand = true;
  for (int i = 0; i < corners; ++i) inBand &= std::fabs(poly[i].X) <= kGuardBand && std::fabs(poly[i].Y) <= kGuardBand;
  if (inBand) return Rasterise(poly, corners, setup, State, kernel, shaded, needsSpecular);
  if (D) return false;
  int count = ClipToGuardBand(poly, 3);
  for (int i = 1; i + 1 < count; ++i) {
    TClipPoint tri[3] = {poly[0], poly[i], poly[i + 1]};
    Rasterise(tri, 3, setup, State, kernel, shaded, needsSpecular);
  }
  return true;
}
