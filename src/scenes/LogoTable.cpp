#include "LogoTable.h"

namespace {

// Letters are 20 to 24 pixels wide with stems and bars 6 pixels thick, spaced 3 to 4 pixels apart; corners of
// the round letters are cut at 45 degrees. All strokes use a 1-pixel pen so the outlines stay even at 3x.
// M
constexpr TLogoPoint kM[] = {{0, 0, 1},   {6, 0, 1},   {12, 11, 1}, {18, 0, 1}, {24, 0, 1}, {24, 29, 1}, {18, 29, 1},
                             {18, 12, 1}, {12, 22, 1}, {6, 12, 1},  {6, 29, 1}, {0, 29, 1}, {0, 0, 1}};
// O
constexpr TLogoPoint kO[] = {{28, 4, 1},  {32, 0, 1},  {44, 0, 1},  {48, 4, 1}, {48, 25, 1},
                             {44, 29, 1}, {32, 29, 1}, {28, 25, 1}, {28, 4, 1}};
// counter of O
constexpr TLogoPoint kOCounter[] = {{34, 6, 1}, {42, 6, 1}, {42, 23, 1}, {34, 23, 1}, {34, 6, 1}};
// R
constexpr TLogoPoint kR[] = {{52, 0, 1},  {69, 0, 1},  {73, 4, 1},  {73, 14, 1}, {69, 18, 1}, {73, 29, 1},
                             {67, 29, 1}, {63, 19, 1}, {58, 19, 1}, {58, 29, 1}, {52, 29, 1}, {52, 0, 1}};
// counter of R
constexpr TLogoPoint kRCounter[] = {{58, 6, 1},  {66, 6, 1},  {67, 7, 1}, {67, 11, 1},
                                    {66, 12, 1}, {58, 12, 1}, {58, 6, 1}};
// V
constexpr TLogoPoint kV[] = {{76, 0, 1}, {82, 0, 1},  {87, 19, 1}, {92, 0, 1},
                             {98, 0, 1}, {90, 29, 1}, {84, 29, 1}, {76, 0, 1}};
// A
constexpr TLogoPoint kA[] = {{109, 0, 1},  {117, 0, 1},  {125, 29, 1}, {119, 29, 1}, {117, 23, 1},
                             {109, 23, 1}, {107, 29, 1}, {101, 29, 1}, {109, 0, 1}};
// counter of A
constexpr TLogoPoint kACounter[] = {{112, 8, 1}, {114, 8, 1}, {116, 17, 1}, {110, 17, 1}, {112, 8, 1}};
// N
constexpr TLogoPoint kN[] = {{128, 0, 1},  {134, 0, 1},  {143, 17, 1}, {143, 0, 1},  {149, 0, 1}, {149, 29, 1},
                             {143, 29, 1}, {134, 12, 1}, {134, 29, 1}, {128, 29, 1}, {128, 0, 1}};
// T
constexpr TLogoPoint kT[] = {{153, 0, 1},  {174, 0, 1}, {174, 6, 1}, {167, 6, 1}, {167, 29, 1},
                             {160, 29, 1}, {160, 6, 1}, {153, 6, 1}, {153, 0, 1}};
// H
constexpr TLogoPoint kH[] = {{177, 0, 1},  {183, 0, 1},  {183, 11, 1}, {192, 11, 1}, {192, 0, 1},
                             {198, 0, 1},  {198, 29, 1}, {192, 29, 1}, {192, 17, 1}, {183, 17, 1},
                             {183, 29, 1}, {177, 29, 1}, {177, 0, 1}};

constexpr TLogoStroke kStrokes[] = {{kM, false},       {kO, false}, {kOCounter, true}, {kR, false},
                                    {kRCounter, true}, {kV, false}, {kA, false},       {kACounter, true},
                                    {kN, false},       {kT, false}, {kH, false}};

}  // namespace

std::span<const TLogoStroke> LogoStrokes() { return kStrokes; }
