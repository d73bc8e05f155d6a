// The game objects: frame events and their lists, drawable and movable objects.
#pragma once
#include "UEvents.h"
#include "Visible.h"
