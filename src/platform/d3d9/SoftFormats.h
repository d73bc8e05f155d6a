// Surface formats of the software Direct3D device: sizes, which formats it accepts, and decoding to ARGB8888 for
// sampling. Decoding follows Direct3D's reading of each format: missing alpha reads as opaque, luminance is
// replicated to red, green and blue.
#pragma once
#include <cstdint>
#include "d3d9types.h"

// Bits per pixel of the formats the device knows; 0 for any other code.
uint32_t SoftFormatBits(D3DFORMAT Format);

// Whether textures of this format can be created, locked and sampled.
bool SoftTextureFormatSupported(D3DFORMAT Format);

// Bytes per row of a level Width pixels wide: rows are padded to a multiple of 4 bytes.
uint32_t SoftFormatPitch(D3DFORMAT Format, uint32_t Width);

// Decodes Count pixels of a supported texture format into ARGB8888.
void SoftDecodeRow(D3DFORMAT Format, const uint8_t* Source, uint32_t* Target, uint32_t Count);
