// morvanth --watch: the game rebuilt from the skin each time its files change, at the stage and stage frame it
// had reached, the ship where it was with its power-ups, in the same window. The whole new skin is loaded before
// anything is swapped: a skin that does not load leaves the last good game standing still, with the error the game
// would show drawn over its picture (and said once on the console), until a later change loads.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "GameStart.h"
#include "SceneSupervisor.h"

class TFolderChanges;
class TMessageOverlay;
class TShootingScene;

class TSkinWatch : public TSceneSupervisor {
 public:
  // An editor's save is a burst of writes, creations and renames: the skin is read once none has come for
  // this many frames (a tenth of a second), not in the middle of one.
  static constexpr uint32_t kSettleFrames = 6;

  // Report gets each console line (the error, as "caption: message" in the player's language; "skin reloaded").
  TSkinWatch(TFolderChanges& Changes, const TGameStart& Start, std::function<void(const std::string&)> Report);
  ~TSkinWatch() override;
  TSkinWatch(const TSkinWatch&) = delete;
  TSkinWatch& operator=(const TSkinWatch&) = delete;

  // The first scene: the game at Start; when the skin does not load, an empty scene under the error, which the
  // first change that loads replaces.
  std::unique_ptr<TCustomScene> FirstScene(TSXScene* SpriteScene, TKeyStates* Keys);

  std::unique_ptr<TCustomScene> Replace(TCustomScene* Current, TSXScene* SpriteScene, TKeyStates* Keys) override;
  bool Holds() const override { return !error_.empty(); }
  void RenderOver(TSXScene* SpriteScene) override;

  // Games built from a changed skin so far, and the error on show (CP932; empty when none).
  int32_t Reloads() const { return reloads_; }
  const std::string& Error() const { return error_; }
  // Where the next rebuild begins.
  const TGameStart& Start() const { return start_; }
  // ,"watch":{"reloads":N,"error":TEXT|null} for the state lines.
  std::string StateFields() const;

 private:
  std::unique_ptr<TCustomScene> Build(TSXScene* SpriteScene, TKeyStates* Keys);

  TFolderChanges& changes_;
  TGameStart start_;
  std::function<void(const std::string&)> report_;
  bool waiting_ = false;  // the scene running is the empty one under a first error
  bool pending_ = false;
  uint32_t quiet_ = 0;
  int32_t reloads_ = 0;
  std::string error_;
  std::unique_ptr<TMessageOverlay> overlay_;
};
