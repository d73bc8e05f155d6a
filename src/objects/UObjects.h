// The design's unit UObjects: frame events and their lists, drawable and movable objects, the player's ship
// with its options, shots and lasers, enemies and their list.
// Only a map from the design's unit to its headers: the code includes the headers that declare what it uses,
// never this one (tests/e2e/layering.sh checks both).
#pragma once
#include "Enemy.h"
#include "EnemyList.h"
#include "Laser.h"
#include "PlayerOption.h"
#include "PlayerShip.h"
#include "Shots.h"
#include "UEvents.h"
#include "Visible.h"
