// The game objects: frame events and their lists, drawable and movable objects, the player's ship with
// its options, shots and lasers, enemies and their list.
#pragma once
#include "Enemy.h"
#include "EnemyList.h"
#include "Laser.h"
#include "PlayerOption.h"
#include "PlayerShip.h"
#include "Shots.h"
#include "UEvents.h"
#include "Visible.h"
