// Small helpers shared by the scenes: the geometry of the game, and the corners of a screen rectangle.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GameMath.h"
#include "SXTypes.h"
#include "WinTypes.h"

class TDGTexture;
class TSXScene;
class TSXTextWriter;

using TSXVertexSPDynArray = std::vector<TSXVertexSP>;

// Four corners (Left,Top), (Right,Top), (Left,Bottom), (Right,Bottom) with the given diffuse colours,
// specular 0 and texture coordinates spanning the whole texture.
void MakeQuadVertices(const TRect& Rect, const std::array<uint32_t, 4>& Colors, TSXVertexSPDynArray& Vertices);

// A new texture holding Text in white, its alpha the glyph coverage, exactly as large as the measured text, made
// with Writer in the font FontName of FontSize points.
std::unique_ptr<TDGTexture> MakeTextTexture(TSXTextWriter& Writer, const std::string& Text, const std::string& FontName,
                                            int32_t FontSize);
// Queues Texture on Scene as a rectangle of its image size at (X, Y), tinted with Color (alpha forced to 0xFF),
// alpha-blended.
void QueueTexture(TSXScene& Scene, int32_t X, int32_t Y, bool Overlay, bool Smooth, uint32_t Color,
                  TDGTexture* Texture);
