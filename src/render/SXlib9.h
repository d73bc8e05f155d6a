// Chief header of the sprite and text rendering layer.
#pragma once
#include "SXScene.h"
#include "SXTypes.h"
