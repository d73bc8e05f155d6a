// Chief header of the application shell's common parts: scene base and scene table, keyboard state, skin
// folders and the helpers the scenes share.
#pragma once
#include "CustomScene.h"
#include "DebugTrace.h"
#include "KeyStates.h"
#include "SceneHelpers.h"
#include "SkinFolders.h"
