// Someone beside the main form with a say in its scene: the skin watcher, which swaps in a game built from the
// edited skin, holds the game still while the skin is broken, and draws the error over the picture.
#pragma once
#include <memory>

class TCustomScene;
class TKeyStates;
class TSXScene;

class TSceneSupervisor {
 public:
  virtual ~TSceneSupervisor() = default;
  // Before the frame's Update: a scene to run from now on instead of Current (which the form then frees), or
  // none to keep it.
  virtual std::unique_ptr<TCustomScene> Replace(TCustomScene* Current, TSXScene* SpriteScene, TKeyStates* Keys) = 0;
  // Whether the current scene stands still this frame: drawn, not updated.
  virtual bool Holds() const = 0;
  // Queues what is drawn over the scene's picture.
  virtual void RenderOver(TSXScene* SpriteScene) = 0;
};
