// The design's unit UDatabase: stage and graphic definitions, their loaders and the XML value readers they
// share.
// Only a map from the design's unit to its headers: the code includes the headers that declare what it uses,
// never this one (tests/e2e/layering.sh checks both).
#pragma once
#include "GraphicDefLoader.h"
#include "GraphicDefs.h"
#include "SkinPlace.h"
#include "StageDefLoader.h"
#include "StageDefs.h"
#include "XmlReaders.h"
