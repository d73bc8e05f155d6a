#include "SceneState.h"

#include <cstdio>

#include "CustomScene.h"
#include "EnemyList.h"
#include "JsonString.h"
#include "KeyBindings.h"
#include "OptionsScreen.h"
#include "PlayerShip.h"
#include "ScoreBoard.h"
#include "SkinFolders.h"
#include "StageDefs.h"
#include "UOpening.h"
#include "UScene.h"
#include "UShooting.h"
#include "Visible.h"

int SceneNumberOf(const TCustomScene* scene) {
  if (dynamic_cast<const TOpeningScene*>(scene)) return 0;
  if (dynamic_cast<const TShootingScene*>(scene)) return 1;
  if (dynamic_cast<const TEndingScene*>(scene)) return 2;
  return -1;
}

namespace {

std::string Field(const char* name, int64_t value) { return std::string(",\"") + name + "\":" + std::to_string(value); }
std::string Flag(const char* name, bool value) {
  return std::string(",\"") + name + "\":" + (value ? "true" : "false");
}
// The first field of an object drops the comma Field puts before it.
std::string Object(const char* name, const std::string& fields) {
  return std::string(",\"") + name + "\":{" + fields.substr(1) + "}";
}

std::string DescribeGame(const TShootingScene& game) {
  int32_t stage = -1;
  for (TStageDef* s = game.StageDefs->First(); s != nullptr && game.Stage != nullptr; s = s->Next()) {
    ++stage;
    if (s == game.Stage) break;
  }
  const TEmu& ship = *game.Ship;
  std::string json = Field("stage", stage);
  json += ",\"stageTitle\":" + JsonString(game.Stage != nullptr ? game.Stage->Title : std::string());
  json += Field("stageFrame", game.StageFrame) + Field("playState", game.State) + Flag("paused", game.Paused);
  json += Field("restartFrame", game.RestartFrame) + Field("score", game.Score);
  json += Object("ship", Field("x", ship.X) + Field("y", ship.Y) + Field("lives", ship.Lives) +
                             Field("energy", ship.Energy) + Field("cursor", ship.Cursor) + Field("speed", ship.Speed) +
                             Field("shotType", ship.ShotType) + Field("options", ship.OptionCount) +
                             Flag("entering", ship.Entering));
  json += Object("counts", Field("shots", game.ShotList->Count()) + Field("enemies", game.Enemies->Count()) +
                               Field("enemyShots", game.EnemyShots->Count()) + Field("drops", game.Drops->Count()) +
                               Field("explosions", game.Explosions->Count()) + Field("timers", game.Timers->Count()));
  return json;
}

std::string Rect(const TVisible& item) {
  TRect r;
  item.GetRect(r);
  return "[" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom) + "]";
}

std::string Rects(const char* name, const TVisibleLinkedList& list) {
  std::string json = std::string(",\"") + name + "\":[";
  for (TLinkedItem* item = list.First(); item != nullptr; item = item->Next()) {
    if (json.back() != '[') json += ",";
    json += Rect(*static_cast<const TVisible*>(item));
  }
  return json + "]";
}

// Each enemy with its script id (its enemy element's place in the stage), group, hit points left and rectangle.
std::string Enemies(const TEnemyLinkedList& list) {
  std::string json = ",\"enemies\":[";
  for (TLinkedItem* item = list.First(); item != nullptr; item = item->Next()) {
    const auto& enemy = *static_cast<const TEnemy*>(item);
    if (json.back() != '[') json += ",";
    json += "{" + Field("id", enemy.Def->ScriptId).substr(1) + Field("group", enemy.GroupIndex()) +
            Field("hp", enemy.HP) + ",\"rect\":" + Rect(enemy) + "}";
  }
  return json + "]";
}

std::string DescribeObjects(const TShootingScene& game) {
  std::string fields = Enemies(*game.Enemies) + Rects("enemyShots", *game.EnemyShots) + Rects("drops", *game.Drops);
  return ",\"objects\":{\"ship\":" + Rect(*game.Ship) + fields + "}";
}

std::string DescribeOptions(const TOptionsScreen& options) {
  const TOptionsHost& host = options.Host();
  std::string fields =
      Field("row", options.Row()) + Flag("capture", options.Capturing()) + ",\"note\":" + JsonString(options.Note());
  for (const TOptionsScreen::TRow& row : TOptionsScreen::Rows()) {
    if (row.Name != nullptr) fields += Field(row.Name, host.Value(row.Option));
  }
  std::string keys;
  for (const TKeyActionInfo& action : kKeyActions) {
    keys += std::string(",\"") + action.SettingName + "\":" + JsonString(KeyName(host.Keys().Key(action.Action)));
  }
  return Object("options", fields + Object("keys", keys));
}

}  // namespace

std::string DescribeSceneState(uint32_t frame, const TCustomScene* scene, bool objects, const TOptionsScreen* options,
                               const std::string& extra) {
  std::string json = "{\"frame\":" + std::to_string(frame) + ",\"scene\":" + std::to_string(SceneNumberOf(scene));
  if (scene == nullptr) return json + extra + "}";
  json += ",\"sceneFrame\":" + std::to_string(scene->FrameCounter);
  if (const auto* title = dynamic_cast<const TOpeningScene*>(scene)) {
    json += Flag("complete", title->Complete);
    json += ",\"idleCount\":" + std::to_string(title->IdleCount);
    json += ",\"strokeIndex\":" + std::to_string(title->StrokeIndex);
    json += ",\"logoColor\":" + std::to_string(title->LogoColor);
    json += ",\"skin\":" + JsonPathString(CurrentSkin) + ",\"skinDir\":" + JsonPathString(SkinDir());
    json += Field("skins", SkinNames.Count());
    json += Flag("nameEntry", title->Board && title->Board->Entering());
  } else if (const auto* game = dynamic_cast<const TShootingScene*>(scene)) {
    json += DescribeGame(*game);
    if (objects) json += DescribeObjects(*game);
  } else if (const auto* ending = dynamic_cast<const TEndingScene*>(scene)) {
    char scroll[32];
    std::snprintf(scroll, sizeof scroll, "%.1f", ending->Scroll);
    json += std::string(",\"scroll\":") + scroll;
  }
  if (options != nullptr && options->Holding()) json += DescribeOptions(*options);
  return json + extra + "}";
}
