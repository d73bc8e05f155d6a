// The design's unit VUDader9, the graphics device layer: the device component with its resource registry,
// the debug log, textures, BMP loading and pixel formats.
// Only a map from the design's unit to its headers: the code includes the headers that declare what it uses,
// never this one (tests/e2e/layering.sh checks both).
#pragma once
#include "BMPLoader.h"
#include "DGTexture.h"
#include "DebugLog.h"
#include "PixelFormats.h"
#include "ResourceRegistry.h"
#include "VUDaderDevice.h"
