// Stage and graphic definitions, their loaders and the XML value readers they share.
#pragma once
#include "GraphicDefLoader.h"
#include "GraphicDefs.h"
#include "SkinPlace.h"
#include "StageDefLoader.h"
#include "StageDefs.h"
#include "XmlReaders.h"
