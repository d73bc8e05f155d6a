// Chief header of the sprite and text rendering layer.
#pragma once
#include "SXFontCache.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
