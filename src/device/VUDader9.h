// Chief header of the graphics device layer: the device component with its resource registry,
// the debug log, textures, BMP loading and pixel formats.
#pragma once
#include "BMPLoader.h"
#include "DGTexture.h"
#include "DebugLog.h"
#include "PixelFormats.h"
#include "ResourceRegistry.h"
#include "VUDaderDevice.h"
