#include "Rasterizer.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int SubpixelBits = 8;
constexpr double SubpixelScale = 1 << SubpixelBits;
// Positions beyond this many pixels from the origin are clipped geometrically first, which keeps every edge
// function product within 64 bits.
constexpr double GuardBand = 1 << 19;

// Nearest integer, halves upwards; inline (llround is a library call, and this runs per span).
// Attribute values in fixed point are kept within this bound, so that sums and products of a few of them (and
// a pixel position) stay far inside 64 bits whatever the vertices say.
constexpr double FixedLimit = 281474976710656.0;  // 2^48

inline int64_t Round(double X, double Limit = FixedLimit) {
  if (!(X > -Limit)) X = -Limit;  // also catches NaN
  if (X > Limit) X = Limit;
  X += 0.5;
  int64_t T = static_cast<int64_t>(X);
  return T - (static_cast<double>(T) > X ? 1 : 0);
}

int64_t FloorDiv(int64_t A, int64_t B) {  // B > 0
  int64_t Q = A / B;
  return (A % B != 0 && A < 0) ? Q - 1 : Q;
}

// floor(M / D) for a numerator that grows by DM per row, kept exactly with quotient and remainder.
struct TFloorStepper {
  int64_t Q, R, D, DQ, DR;
  void Init(int64_t M, int64_t DM, int64_t D_) {
    D = D_;
    Q = FloorDiv(M, D);
    R = M - Q * D;
    DQ = FloorDiv(DM, D);
    DR = DM - DQ * D;
  }
  void Step() {
    Q += DQ;
    R += DR;
    if (R >= D) {
      R -= D;
      ++Q;
    }
  }
};

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
  double D1 = F1 - F0, D2 = F2 - F0;
  if (D1 == 0 && D2 == 0) return {F0, 0, 0};
  return {F0, (D1 * Ey2 - D2 * Ey1) * InvDet, (D2 * Ex1 - D1 * Ex2) * InvDet};
}

struct TClipPoint {
  double X, Y;
};

// Draws a convex polygon of three or four corners, all with the same attribute planes. Returns false, having drawn
// nothing, when a four-cornered one is not convex once snapped (its caller then draws it as two triangles).
bool Rasterise(const TClipPoint* P, int N, const TSetup& Setup, const TRasterState& State, TRasterKernel Kernel,
               bool Shaded, bool AddsSpecular) {
  int64_t X[4], Y[4];
  for (int I = 0; I < N; ++I) {
    X[I] = Round(P[I].X * SubpixelScale);
    Y[I] = Round(P[I].Y * SubpixelScale);
  }
  int64_t Area = 0;
  for (int I = 0; I < N; ++I) Area += X[I] * Y[(I + 1) % N] - X[(I + 1) % N] * Y[I];
  if (Area == 0) return N == 3;
  if (Area < 0) {
    std::reverse(X, X + N);
    std::reverse(Y, Y + N);
  }
  for (int I = 0; I < N && N == 4; ++I) {
    int J = (I + 1) % N, K = (I + 2) % N;
    if ((X[J] - X[I]) * (Y[K] - Y[J]) - (Y[J] - Y[I]) * (X[K] - X[J]) < 0) return false;
  }
  // Rows whose centres may lie inside, within the clip rectangle.
  int64_t MinY = *std::min_element(Y, Y + N), MaxY = *std::max_element(Y, Y + N);
  int64_t Top = std::max<int64_t>(State.ClipTop, -FloorDiv(-MinY, 1 << SubpixelBits));
  int64_t Bottom = std::min<int64_t>(State.ClipBottom, FloorDiv(MaxY, 1 << SubpixelBits) + 1);
  if (Top >= Bottom) return true;

  // Edge a->b of a clockwise triangle (y down): E(p) = dx * (py - ay) - dy * (px - ax), inside where E >= 0 on
  // top and left edges and E > 0 on the others. Per row E is linear in px, which gives each edge's bound.
  TFloorStepper Lefts[4], Rights[4];
  int64_t Horizontal[4], HorizontalStep[4];
  int LeftCount = 0, RightCount = 0, HorizontalCount = 0;
  for (int I = 0; I < N; ++I) {
    int J = (I + 1) % N;
    int64_t Dx = X[J] - X[I], Dy = Y[J] - Y[I];
    bool TopLeft = Dy < 0 || (Dy == 0 && Dx > 0);
    int64_t M = Dx * (Top * (1 << SubpixelBits) - Y[I]) + Dy * X[I] - (TopLeft ? 0 : 1);
    int64_t DM = Dx * (1 << SubpixelBits);
    if (Dy == 0) {
      Horizontal[HorizontalCount] = M;
      HorizontalStep[HorizontalCount++] = DM;
    } else if (Dy < 0) {
      Lefts[LeftCount++].Init(M, DM, -Dy * (1 << SubpixelBits));  // px >= -floor(M / D)
    } else {
      Rights[RightCount++].Init(M, DM, Dy * (1 << SubpixelBits));  // px <= floor(M / D)
    }
  }

  const bool Textured = State.Texels != nullptr;
  const int32_t Stride = State.TargetPitch;

  // Attributes in fixed point, stepped from row to row at x = 0 and moved to each span's first pixel.
  struct TLinear {
    int64_t Row, StepX, StepY;
    void Init(const TPlane& P, double Scale, const TSetup& S, int64_t Top, double Limit = FixedLimit) {
      Row = Round((P.F0 - P.Dx * S.X0 + P.Dy * (double(Top) - S.Y0)) * Scale, Limit);
      StepX = Round(P.Dx * Scale);
      StepY = Round(P.Dy * Scale);
    }
    int64_t At(int64_t X) const { return Row + StepX * X; }
  };
  // A colour gradient steeper than a full range per pixel only occurs across less than a pixel.
  auto ColourStep = [](int64_t Step) { return int32_t(std::clamp<int64_t>(Step, -(1 << 24), 1 << 24)); };
  TLinear Diffuse[4]{}, Specular[3]{}, U{}, V{};
  TRasterSpan Span;
  for (int C = 0; C < 4; ++C) {
    Span.Diffuse[C] = 255 * 65536 + 0x8000;
    Span.Specular[C] = 0x8000 * (C != 3);
    Span.DiffuseStep[C] = Span.SpecularStep[C] = 0;
    if (Shaded) {
      Diffuse[C].Init(Setup.Diffuse[C], 65536.0, Setup, Top);
      Span.DiffuseStep[C] = ColourStep(Diffuse[C].StepX);
    }
    if (AddsSpecular && C < 3) {
      Specular[C].Init(Setup.Specular[C], 65536.0, Setup, Top);
      Span.SpecularStep[C] = ColourStep(Specular[C].StepX);
    }
  }
  // Texture coordinates: each step is rounded to RasterTexelBits fraction bits, so a pixel x + y steps from the
  // start is off by at most (x + y) / 2^25 texel, far inside the 1/512 texel within which the samplers' snap
  // to 1/256 texel brings an exact value back. The start may lie a million repeats of the largest texture away,
  // beyond the other attributes' bound.
  constexpr double TexelScale = double(int64_t(1) << RasterTexelBits);
  constexpr double TexelLimit = 4294967296.0 * TexelScale;  // 2^32 texels
  if (Textured) {
    U.Init(Setup.U, State.TextureWidth * TexelScale, Setup, Top, TexelLimit);
    V.Init(Setup.V, State.TextureHeight * TexelScale, Setup, Top, TexelLimit);
  }
  Span.StepU = U.StepX;
  Span.StepV = V.StepX;
  auto Colour = [](int64_t Fixed) { return int32_t(std::clamp<int64_t>(Fixed, 0, 255 * 65536)) + 0x8000; };

  for (int64_t Row = Top; Row < Bottom; ++Row) {
    int64_t Left = State.ClipLeft, Right = State.ClipRight;
    bool Empty = false;
    for (int I = 0; I < LeftCount; ++I) {
      Left = std::max(Left, -Lefts[I].Q);
      Lefts[I].Step();
    }
    for (int I = 0; I < RightCount; ++I) {
      Right = std::min(Right, Rights[I].Q + 1);
      Rights[I].Step();
    }
    for (int I = 0; I < HorizontalCount; ++I) {
      Empty |= Horizontal[I] < 0;
      Horizontal[I] += HorizontalStep[I];
    }
    if (!Empty && Left < Right) {
      // Stored whole: the kernel loads them as one vector, which a store per channel would stall.
      typedef int32_t I32x4 __attribute__((vector_size(16)));
      if (Shaded) {
        I32x4 D = {Colour(Diffuse[0].At(Left)), Colour(Diffuse[1].At(Left)), Colour(Diffuse[2].At(Left)),
                   Colour(Diffuse[3].At(Left))};
        std::memcpy(Span.Diffuse, &D, sizeof D);
      }
      if (AddsSpecular) {
        I32x4 S = {Colour(Specular[0].At(Left)), Colour(Specular[1].At(Left)), Colour(Specular[2].At(Left)), 0};
        std::memcpy(Span.Specular, &S, sizeof S);
      }
      Span.U = U.At(Left);
      Span.V = V.At(Left);
      Span.Target = State.Target + Row * Stride + Left;
      // Sprites land anywhere on a target larger than the caches: fetch rows ahead before they are blended.
      if (Row + 2 < Bottom) {
        __builtin_prefetch(Span.Target + 2 * Stride);
        __builtin_prefetch(Span.Target + 2 * Stride + (Right - Left));
      }
      Span.Count = int32_t(Right - Left);
      Kernel(Span, State);
    }
    for (int C = 0; C < 4; ++C) Diffuse[C].Row += Diffuse[C].StepY;
    for (int C = 0; C < 3; ++C) Specular[C].Row += Specular[C].StepY;
    U.Row += U.StepY;
    V.Row += V.StepY;
  }
  return true;
}

// Clips a polygon to the guard band (one side at a time); returns the new vertex count.
int ClipToGuardBand(TClipPoint* Poly, int Count) {
  TClipPoint Work[16];
  for (int Side = 0; Side < 4 && Count > 0; ++Side) {
    int Out = 0;
    auto Inside = [Side](const TClipPoint& P) {
      switch (Side) {
        case 0: return P.X >= -GuardBand;
        case 1: return P.X <= GuardBand;
        case 2: return P.Y >= -GuardBand;
        default: return P.Y <= GuardBand;
      }
    };
    auto Cross = [Side](const TClipPoint& A, const TClipPoint& B) {
      double Bound = (Side == 0 || Side == 2) ? -GuardBand : GuardBand;
      double T = Side < 2 ? (Bound - A.X) / (B.X - A.X) : (Bound - A.Y) / (B.Y - A.Y);
      return TClipPoint{A.X + (B.X - A.X) * T, A.Y + (B.Y - A.Y) * T};
    };
    for (int I = 0; I < Count; ++I) {
      const TClipPoint& A = Poly[I];
      const TClipPoint& B = Poly[(I + 1) % Count];
      bool InA = Inside(A), InB = Inside(B);
      if (InA) Work[Out++] = A;
      if (InA != InB) Work[Out++] = Cross(A, B);
    }
    Count = Out;
    std::copy(Work, Work + Count, Poly);
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
  const TRasterVertex* Ring[4] = {&A, &B, &D, &C};
  int Positive = 0, Negative = 0;
  for (int I = 0; I < 4; ++I) {
    const TRasterVertex &P = *Ring[I], &Q = *Ring[(I + 1) % 4], &R = *Ring[(I + 2) % 4];
    double Cross = (double(Q.X) - P.X) * (double(R.Y) - Q.Y) - (double(Q.Y) - P.Y) * (double(R.X) - Q.X);
    Positive += Cross > 0;
    Negative += Cross < 0;
  }
  return Positive == 4 || Negative == 4;
}

bool Matches(const TPlane& P, double X, double Y, double Value, double Tolerance) {
  return std::fabs(P.F0 + P.Dx * X + P.Dy * Y - Value) <= Tolerance;
}

}  // namespace

bool TRasterizer::DrawShape(const TRasterVertex& A, const TRasterVertex& B, const TRasterVertex& C,
                            const TRasterVertex* D, bool Reversed, const TRasterState& State) {
  if (State.ClipLeft >= State.ClipRight || State.ClipTop >= State.ClipBottom) return true;
  const TRasterVertex* V[4] = {&A, &B, &C, D};
  for (int I = 0; I < (D ? 4 : 3); ++I)
    if (!std::isfinite(V[I]->X) || !std::isfinite(V[I]->Y)) return D == nullptr;
  if (D && !ConvexQuad(A, B, C, *D)) return false;

  double X0 = A.X, Y0 = A.Y;
  double Ex1 = double(B.X) - X0, Ey1 = double(B.Y) - Y0, Ex2 = double(C.X) - X0, Ey2 = double(C.Y) - Y0;
  double Det = Ex1 * Ey2 - Ex2 * Ey1;
  if (Det == 0 || !std::isfinite(Det)) return D == nullptr;
  // Screen winding with y down: Det > 0 is clockwise. A convex quad's two triangles wind alike.
  bool Clockwise = (Det > 0) != Reversed;
  if ((State.CullMode == 3 && !Clockwise) || (State.CullMode == 2 && Clockwise)) return true;

  TSetup Setup;
  Setup.X0 = X0;
  Setup.Y0 = Y0;
  double InvDet = 1.0 / Det;
  for (int Ch = 0; Ch < 4; ++Ch) {
    if (State.FlatShade) {
      Setup.Diffuse[Ch] = {ChannelOf(A.Diffuse, Ch), 0, 0};
      Setup.Specular[Ch] = {ChannelOf(A.Specular, Ch), 0, 0};
    } else {
      Setup.Diffuse[Ch] = MakePlane(ChannelOf(A.Diffuse, Ch), ChannelOf(B.Diffuse, Ch), ChannelOf(C.Diffuse, Ch), Ex1,
                                    Ey1, Ex2, Ey2, InvDet);
      Setup.Specular[Ch] = MakePlane(ChannelOf(A.Specular, Ch), ChannelOf(B.Specular, Ch), ChannelOf(C.Specular, Ch),
                                     Ex1, Ey1, Ex2, Ey2, InvDet);
    }
  }
  // Texture coordinates beyond a million repeats carry no meaning; they are held there (and NaN read as 0).
  auto Coordinate = [](float T) { return std::isnan(T) ? 0.0 : std::clamp(double(T), -1e6, 1e6); };
  Setup.U = MakePlane(Coordinate(A.U), Coordinate(B.U), Coordinate(C.U), Ex1, Ey1, Ex2, Ey2, InvDet);
  Setup.V = MakePlane(Coordinate(A.V), Coordinate(B.V), Coordinate(C.V), Ex1, Ey1, Ex2, Ey2, InvDet);

  // A quad is one polygon only when its fourth corner lies on the planes of the first three (colours to well
  // under a rounding step, texture coordinates to float precision): then both triangles would draw the same.
  if (D) {
    double Dx = double(D->X) - X0, Dy = double(D->Y) - Y0;
    for (int Ch = 0; Ch < 4; ++Ch)
      if (!Matches(Setup.Diffuse[Ch], Dx, Dy, ChannelOf(D->Diffuse, Ch), 1.0 / 1024) ||
          !Matches(Setup.Specular[Ch], Dx, Dy, ChannelOf(D->Specular, Ch), 1.0 / 1024))
        return false;
    double Du = Coordinate(D->U), Dv = Coordinate(D->V);
    if (!Matches(Setup.U, Dx, Dy, Du, 1e-6 * (1 + std::fabs(Du))) ||
        !Matches(Setup.V, Dx, Dy, Dv, 1e-6 * (1 + std::fabs(Dv))))
      return false;
  }

  // Magnification or minification, from the texels one pixel step covers.
  bool Linear = State.MagLinear;
  if (State.Texels) {
    double W = State.TextureWidth, H = State.TextureHeight;
    double Ux = Setup.U.Dx * W, Vx = Setup.V.Dx * H, Uy = Setup.U.Dy * W, Vy = Setup.V.Dy * H;
    if (std::max(Ux * Ux + Vx * Vx, Uy * Uy + Vy * Vy) > 1.0) Linear = State.MinLinear;
  }
  auto Constant = [](const TPlane& P, double Value) { return P.Dx == 0 && P.Dy == 0 && P.F0 == Value; };
  bool AddsSpecular = State.Specular && !(Constant(Setup.Specular[0], 0) && Constant(Setup.Specular[1], 0) &&
                                          Constant(Setup.Specular[2], 0));
  bool White = Constant(Setup.Diffuse[0], 255) && Constant(Setup.Diffuse[1], 255) && Constant(Setup.Diffuse[2], 255) &&
               Constant(Setup.Diffuse[3], 255);
  TRasterColouring Colouring = AddsSpecular ? TRasterColouring::ShadedSpecular
                               : White      ? TRasterColouring::Plain
                                            : TRasterColouring::Shaded;
  // The general path reads the specular colour as a stage argument even when it is not added.
  bool NeedsSpecular = AddsSpecular || !State.FastStage || State.Blend == TRasterBlend::Generic;
  TRasterKernel Kernel = SelectRasterKernel(
      State, MakeRasterSampler(State.Texels != nullptr, Linear, State.WrapU, State.WrapV), Colouring);
  const bool Shaded = Colouring != TRasterColouring::Plain;

  TClipPoint Poly[16] = {{A.X, A.Y}, {B.X, B.Y}, {C.X, C.Y}};
  if (D) Poly[2] = {D->X, D->Y}, Poly[3] = {C.X, C.Y};  // around the quad: A, B, D, C
  const int Corners = D ? 4 : 3;
  bool InBand = true;
  for (int I = 0; I < Corners; ++I) InBand &= std::fabs(Poly[I].X) <= GuardBand && std::fabs(Poly[I].Y) <= GuardBand;
  if (InBand) return Rasterise(Poly, Corners, Setup, State, Kernel, Shaded, NeedsSpecular);
  if (D) return false;
  int Count = ClipToGuardBand(Poly, 3);
  for (int I = 1; I + 1 < Count; ++I) {
    TClipPoint Tri[3] = {Poly[0], Poly[I], Poly[I + 1]};
    Rasterise(Tri, 3, Setup, State, Kernel, Shaded, NeedsSpecular);
  }
  return true;
}
