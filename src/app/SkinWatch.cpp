#include "SkinWatch.h"

#include "Exception.h"
#include "FolderWatch.h"
#include "JsonString.h"
#include "MessageOverlay.h"
#include "MessageText.h"
#include "PlayerShip.h"
#include "SXScene.h"
#include "TextEncoding.h"
#include "UShooting.h"

TSkinWatch::TSkinWatch(TFolderChanges& Changes, const TGameStart& Start, std::function<void(const std::string&)> Report)
    : changes_(Changes), start_(Start), report_(std::move(Report)) {}

TSkinWatch::~TSkinWatch() = default;

std::unique_ptr<TCustomScene> TSkinWatch::FirstScene(TSXScene* SpriteScene, TKeyStates* Keys) {
  if (std::unique_ptr<TCustomScene> game = Build(SpriteScene, Keys)) return game;
  waiting_ = true;
  return std::make_unique<TCustomScene>(SpriteScene, Keys);
}

std::unique_ptr<TCustomScene> TSkinWatch::Build(TSXScene* SpriteScene, TKeyStates* Keys) {
  try {
    auto game = std::make_unique<TShootingScene>(SpriteScene, Keys, start_);
    if (!error_.empty()) report_("skin mended: play resumes");
    error_.clear();
    overlay_.reset();
    return game;
  } catch (const Exception& e) {
    if (e.Message() != error_) {
      // The console line is the error box's: caption and message in the player's language.
      const std::string caption = Jp("エラー");
      report_(LocalizeMessage(caption) + ": " + LocalizeMessage(e.Message()));
      error_ = e.Message();
      overlay_ = std::make_unique<TMessageOverlay>(SpriteScene->Device(), ToCP932(LocalizeMessage(caption)),
                                                   ToCP932(LocalizeMessage(error_)));
    }
    return nullptr;
  }
}

std::unique_ptr<TCustomScene> TSkinWatch::Replace(TCustomScene* Current, TSXScene* SpriteScene, TKeyStates* Keys) {
  auto* game = dynamic_cast<TShootingScene*>(Current);
  if (game != nullptr && error_.empty()) {
    // The rebuilt game goes on from here: the stage and its frame, the ship where it flies with its power-ups and
    // ships left. A ship flying in or lost flies in again, as after a restart.
    if (game->StageNumber > 0) start_.Stage = game->StageNumber;
    start_.Frame = game->StageFrame;
    const TEmu& ship = *game->Ship;
    start_.Power = TShipPower{ship.Speed, ship.ShotType, ship.OptionCount};
    start_.Ship.reset();
    if (!ship.Entering && ship.Energy > 0) start_.Ship = TShipInPlay{ship.X, ship.Y, ship.Lives};
  }
  if (changes_.Changed()) {
    pending_ = true;
    quiet_ = 0;
    return nullptr;
  }
  if (!pending_ || ++quiet_ < kSettleFrames) return nullptr;
  pending_ = false;
  // The title and the ending read nothing of the skin's definitions: the next game reads them anew anyway.
  if (game == nullptr && !waiting_) return nullptr;
  std::unique_ptr<TCustomScene> next = Build(SpriteScene, Keys);
  if (next) {
    waiting_ = false;
    ++reloads_;
    report_("skin reloaded: stage " + std::to_string(start_.Stage) + ", frame " + std::to_string(start_.Frame));
  }
  return next;
}

void TSkinWatch::RenderOver(TSXScene* SpriteScene) {
  if (overlay_) overlay_->Draw(SpriteScene);
}

std::string TSkinWatch::StateFields() const {
  return ",\"watch\":{\"reloads\":" + std::to_string(reloads_) +
         ",\"error\":" + (error_.empty() ? std::string("null") : JsonString(error_)) + "}";
}
