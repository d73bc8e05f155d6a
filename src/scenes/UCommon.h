// The design's unit UCommon, the application shell's common parts: scene base and scene table, keyboard
// state, skin folders and the helpers the scenes share.
// Only a map from the design's unit to its headers: the code includes the headers that declare what it uses,
// never this one (tests/e2e/layering.sh checks both).
#pragma once
#include "CustomScene.h"
#include "DebugTrace.h"
#include "KeyStates.h"
#include "SceneHelpers.h"
#include "SkinFolders.h"
