// The design's unit SXlib9, the sprite and text rendering layer: sprite queues, glyph cache, text writer.
// Only a map from the design's unit to its headers: the code includes the headers that declare what it uses,
// never this one (tests/e2e/layering.sh checks both).
#pragma once
#include "SXFontCache.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
