#include "Rasterizer.h"
#include <algorithm>
#include <cmath>

namespace {

constexpr int SubpixelBits = 8;
constexpr double SubpixelScale = 1 << SubpixelBits;
// Positions beyond this many pixels from the origin are clipped geometrically first, which keeps every edge
// function product within 64 bits.
constexpr double GuardBand = 1 << 19;

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

int32_t ColourFixed(double V) {
  V = std::clamp(V, 0.0, 255.0);
  return int32_t(std::lround(V * 65536.0)) + 0x8000;
}

struct TPoint {
  double X, Y;
};

void Rasterise(const TPoint (&P)[3], const TSetup& Setup, const TRasterState& State, TRasterKernel Kernel) {
  int64_t X[3], Y[3];
  for (int I = 0; I < 3; ++I) {
    X[I] = std::llround(P[I].X * SubpixelScale);
    Y[I] = std::llround(P[I].Y * SubpixelScale);
  }
  int64_t Area = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
  if (Area == 0) return;
  if (Area < 0) {
    std::swap(X[1], X[2]);
    std::swap(Y[1], Y[2]);
  }
  // Rows whose centres may lie inside, within the clip rectangle.
  int64_t MinY = std::min({Y[0], Y[1], Y[2]}), MaxY = std::max({Y[0], Y[1], Y[2]});
  int64_t Top = std::max<int64_t>(State.ClipTop, -FloorDiv(-MinY, 1 << SubpixelBits));
  int64_t Bottom = std::min<int64_t>(State.ClipBottom, FloorDiv(MaxY, 1 << SubpixelBits) + 1);
  if (Top >= Bottom) return;

  // Edge a->b of a clockwise triangle (y down): E(p) = dx * (py - ay) - dy * (px - ax), inside where E >= 0 on
  // top and left edges and E > 0 on the others. Per row E is linear in px, which gives each edge's bound.
  TFloorStepper Lefts[3], Rights[3];
  int64_t Horizontal[3], HorizontalStep[3];
  int LeftCount = 0, RightCount = 0, HorizontalCount = 0;
  for (int I = 0; I < 3; ++I) {
    int J = (I + 1) % 3;
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
  const double TexW = State.TextureWidth * 65536.0, TexH = State.TextureHeight * 65536.0;
  const int32_t Stride = State.TargetPitch;
  TRasterSpan Span;
  for (int C = 0; C < 4; ++C) {
    Span.DiffuseStep[C] = int32_t(std::lround(Setup.Diffuse[C].Dx * 65536.0));
    Span.SpecularStep[C] = C == 3 ? 0 : int32_t(std::lround(Setup.Specular[C].Dx * 65536.0));
  }
  Span.StepU = Textured ? std::llround(Setup.U.Dx * TexW) : 0;
  Span.StepV = Textured ? std::llround(Setup.V.Dx * TexH) : 0;

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
    if (Empty || Left >= Right) continue;

    double Px = double(Left) - Setup.X0, Py = double(Row) - Setup.Y0;
    for (int C = 0; C < 4; ++C) {
      const TPlane& D = Setup.Diffuse[C];
      Span.Diffuse[C] = ColourFixed(D.F0 + D.Dx * Px + D.Dy * Py);
      const TPlane& S = Setup.Specular[C];
      Span.Specular[C] = C == 3 ? 0 : ColourFixed(S.F0 + S.Dx * Px + S.Dy * Py);
    }
    if (Textured) {
      Span.U = std::llround((Setup.U.F0 + Setup.U.Dx * Px + Setup.U.Dy * Py) * TexW);
      Span.V = std::llround((Setup.V.F0 + Setup.V.Dx * Px + Setup.V.Dy * Py) * TexH);
    } else {
      Span.U = Span.V = 0;
    }
    Span.Target = State.Target + Row * Stride + Left;
    Span.Count = int32_t(Right - Left);
    Kernel(Span, State);
  }
}

// Clips a polygon to the guard band (one side at a time); returns the new vertex count.
int ClipToGuardBand(TPoint* Poly, int Count) {
  TPoint Work[16];
  for (int Side = 0; Side < 4 && Count > 0; ++Side) {
    int Out = 0;
    auto Inside = [Side](const TPoint& P) {
      switch (Side) {
        case 0: return P.X >= -GuardBand;
        case 1: return P.X <= GuardBand;
        case 2: return P.Y >= -GuardBand;
        default: return P.Y <= GuardBand;
      }
    };
    auto Cross = [Side](const TPoint& A, const TPoint& B) {
      double Bound = (Side == 0 || Side == 2) ? -GuardBand : GuardBand;
      double T = Side < 2 ? (Bound - A.X) / (B.X - A.X) : (Bound - A.Y) / (B.Y - A.Y);
      return TPoint{A.X + (B.X - A.X) * T, A.Y + (B.Y - A.Y) * T};
    };
    for (int I = 0; I < Count; ++I) {
      const TPoint& A = Poly[I];
      const TPoint& B = Poly[(I + 1) % Count];
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
  if (State.ClipLeft >= State.ClipRight || State.ClipTop >= State.ClipBottom) return;
  const TRasterVertex* V[3] = {&A, &B, &C};
  for (const TRasterVertex* P : V)
    if (!std::isfinite(P->X) || !std::isfinite(P->Y)) return;

  double X0 = A.X, Y0 = A.Y;
  double Ex1 = double(B.X) - X0, Ey1 = double(B.Y) - Y0, Ex2 = double(C.X) - X0, Ey2 = double(C.Y) - Y0;
  double Det = Ex1 * Ey2 - Ex2 * Ey1;
  if (Det == 0 || !std::isfinite(Det)) return;
  // Screen winding with y down: Det > 0 is clockwise.
  bool Clockwise = (Det > 0) != Reversed;
  if ((State.CullMode == 3 && !Clockwise) || (State.CullMode == 2 && Clockwise)) return;

  TSetup Setup;
  Setup.X0 = X0;
  Setup.Y0 = Y0;
  double InvDet = 1.0 / Det;
  for (int Ch = 0; Ch < 4; ++Ch) {
    if (State.FlatShade) {
      Setup.Diffuse[Ch] = {ChannelOf(A.Diffuse, Ch), 0, 0};
      Setup.Specular[Ch] = {ChannelOf(A.Specular, Ch), 0, 0};
    } else {
      Setup.Diffuse[Ch] = MakePlane(ChannelOf(A.Diffuse, Ch), ChannelOf(B.Diffuse, Ch), ChannelOf(C.Diffuse, Ch),
                                    Ex1, Ey1, Ex2, Ey2, InvDet);
      Setup.Specular[Ch] = MakePlane(ChannelOf(A.Specular, Ch), ChannelOf(B.Specular, Ch),
                                     ChannelOf(C.Specular, Ch), Ex1, Ey1, Ex2, Ey2, InvDet);
    }
  }
  Setup.U = MakePlane(A.U, B.U, C.U, Ex1, Ey1, Ex2, Ey2, InvDet);
  Setup.V = MakePlane(A.V, B.V, C.V, Ex1, Ey1, Ex2, Ey2, InvDet);

  // Magnification or minification, from the texels one pixel step covers.
  bool Linear = State.MagLinear;
  if (State.Texels) {
    double W = State.TextureWidth, H = State.TextureHeight;
    double AlongX = std::hypot(Setup.U.Dx * W, Setup.V.Dx * H), AlongY = std::hypot(Setup.U.Dy * W, Setup.V.Dy * H);
    if (std::max(AlongX, AlongY) > 1.0) Linear = State.MinLinear;
  }
  TRasterKernel Kernel =
      SelectRasterKernel(State, MakeRasterSampler(State.Texels != nullptr, Linear, State.WrapU, State.WrapV));

  TPoint Poly[16] = {{A.X, A.Y}, {B.X, B.Y}, {C.X, C.Y}};
  bool InBand = true;
  for (int I = 0; I < 3; ++I) InBand &= std::fabs(Poly[I].X) <= GuardBand && std::fabs(Poly[I].Y) <= GuardBand;
  if (InBand) {
    const TPoint(&Tri)[3] = reinterpret_cast<const TPoint(&)[3]>(Poly);
    Rasterise(Tri, Setup, State, Kernel);
    return;
  }
  int Count = ClipToGuardBand(Poly, 3);
  for (int I = 1; I + 1 < Count; ++I) {
    TPoint Tri[3] = {Poly[0], Poly[I], Poly[I + 1]};
    Rasterise(Tri, Setup, State, Kernel);
  }
}
