// One line of JSON describing the running scene after a frame: the headless runner's --state output, and what
// the window writes for a test that asks through MORVANTH_STATE_FILE (StateStream.h).
#pragma once
#include <cstdint>
#include <string>

class TCustomScene;
class TOptionsScreen;

// Scene number of a scene object (0 title, 1 game, 2 ending) by its class; -1 for none or another class.
int SceneNumberOf(const TCustomScene* Scene);

// {"frame":F,"scene":N,"sceneFrame":C,...} with the fields the scene's class offers; no trailing newline.
// With objects, a game scene adds "objects": the hit rectangles [left,top,right,bottom] of the ship, the
// enemies, the enemy bullets and the capsules, for play-testing bots. While an options screen holds the game,
// "options" tells its row, whether it waits for a key, its note, every option's value and every action's key.
// Extra (",\"name\":value..." or empty) is added at the end of the object: the skin watch's fields, the
// enemies that ended in the frame.
std::string DescribeSceneState(uint32_t Frame, const TCustomScene* Scene, bool Objects = false,
                               const TOptionsScreen* Options = nullptr, const std::string& Extra = {});
