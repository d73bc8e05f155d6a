// Plain data of the sprite renderer: one quad corner, a blend preset, one queued quad.
#pragma once
#include <cstdint>

#include "d3d9.h"

class TDGTexture;

// One corner of a quad: offset from the quad's position, colours, texture coordinates.
// Corners come in triangle-strip order: top-left, top-right, bottom-left, bottom-right.
struct TSXVertexSP {
  float X = 0.0f;
  float Y = 0.0f;
  uint32_t Diffuse = 0;   // ARGB, multiplied with the texel
  uint32_t Specular = 0;  // ARGB, added to the result
  float U = 0.0f;
  float V = 0.0f;
};

// A blend preset; callers name it by its position in the scene's list (0 to 5).
struct TSXBlendMode {
  uint8_t Translucent = 0;  // non-zero: the quad goes to the depth-sorted translucent queue
  uint8_t AlphaTest = 0;
  D3DCMPFUNC AlphaFunc = D3DCMP_ALWAYS;
  uint8_t AlphaBlend = 0;
  D3DBLEND SrcBlend = D3DBLEND_SRCALPHA;
  D3DBLEND DestBlend = D3DBLEND_INVSRCALPHA;
  D3DBLENDOP BlendOp = D3DBLENDOP_ADD;
};

// One queued quad.
struct TSXQuad {
  uint8_t Smooth = 0;  // non-zero: linear filtering
  D3DTEXTUREADDRESS AddressU = D3DTADDRESS_CLAMP;
  D3DTEXTUREADDRESS AddressV = D3DTADDRESS_CLAMP;
  int32_t BlendMode = 0;
  TDGTexture* Texture = nullptr;  // not owned
  float X = 0.0f;
  float Y = 0.0f;
  float Z = 0.0f;  // larger is farther; negative is never drawn
  TSXVertexSP Vertices[4];
};
