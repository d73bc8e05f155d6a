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

int SceneNumberOf(const TCustomScene* Scene) {
  if (dynamic_cast<const TOpeningScene*>(Scene)) return 0;
  if (dynamic_cast<const TShootingScene*>(Scene)) return 1;
  if (dynamic_cast<const TEndingScene*>(Scene)) return 2;
  return -1;
}

namespace {

std::string Field(const char* Name, int64_t Value) { return std::string(",\"") + Name + "\":" + std::to_string(Value); }
std::string Flag(const char* Name, bool Value) {
  return std::string(",\"") + Name + "\":" + (Value ? "true" : "false");
}
// The first field of an object drops the comma Field puts before it.
std::string Object(const char* Name, const std::string& Fields) {
  return std::string(",\"") + Name + "\":{" + Fields.substr(1) + "}";
}

std::string DescribeGame(const TShootingScene& Game) {
  int32_t stage = -1;
  for (TStageDef* s = Game.StageDefs->First(); s != nullptr && Game.Stage != nullptr; s = s->Next()) {
    ++stage;
    if (s == Game.Stage) break;
  }
  const TEmu& ship = *Game.Ship;
  std::string json = Field("stage", stage);
  json += ",\"stageTitle\":" + JsonString(Game.Stage != nullptr ? Game.Stage->Title : std::string());
  json += Field("stageFrame", Game.StageFrame) + Field("playState", Game.State) + Flag("paused", Game.Paused);
  json += Field("restartFrame", Game.RestartFrame) + Field("score", Game.Score);
  json += Object("ship", Field("x", ship.X) + Field("y", ship.Y) + Field("lives", ship.Lives) +
                             Field("energy", ship.Energy) + Field("cursor", ship.Cursor) + Field("speed", ship.Speed) +
                             Field("shotType", ship.ShotType) + Field("options", ship.OptionCount) +
                             Flag("entering", ship.Entering));
  json += Object("counts", Field("shots", Game.ShotList->Count()) + Field("enemies", Game.Enemies->Count()) +
                               Field("enemyShots", Game.EnemyShots->Count()) + Field("drops", Game.Drops->Count()) +
                               Field("explosions", Game.Explosions->Count()) + Field("timers", Game.Timers->Count()));
  return json;
}

std::string Rect(const TVisible& Item) {
  TRect r;
  Item.GetRect(r);
  return "[" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom) + "]";
}

std::string Rects(const char* Name, const TVisibleLinkedList& List) {
  std::string json = std::string(",\"") + Name + "\":[";
  for (TLinkedItem* item = List.First(); item != nullptr; item = item->Next()) {
    if (json.back() != '[') json += ",";
    json += Rect(*static_cast<const TVisible*>(item));
  }
  return json + "]";
}

// Each enemy with its script id (its enemy element's place in the stage), group, hit points left and rectangle.
std::string Enemies(const TEnemyLinkedList& List) {
  std::string json = ",\"enemies\":[";
  for (TLinkedItem* item = List.First(); item != nullptr; item = item->Next()) {
    const auto& enemy = *static_cast<const TEnemy*>(item);
    if (json.back() != '[') json += ",";
    json += "{" + Field("id", enemy.Def->ScriptId).substr(1) + Field("group", enemy.GroupIndex()) +
            Field("hp", enemy.HP) + ",\"rect\":" + Rect(enemy) + "}";
  }
  return json + "]";
}

std::string DescribeObjects(const TShootingScene& Game) {
  std::string fields = Enemies(*Game.Enemies) + Rects("enemyShots", *Game.EnemyShots) + Rects("drops", *Game.Drops);
  return ",\"objects\":{\"ship\":" + Rect(*Game.Ship) + fields + "}";
}

std::string DescribeOptions(const TOptionsScreen& Options) {
  const TOptionsHost& host = Options.Host();
  std::string fields =
      Field("row", Options.Row()) + Flag("capture", Options.Capturing()) + ",\"note\":" + JsonString(Options.Note());
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

std::string DescribeSceneState(uint32_t Frame, const TCustomScene* Scene, bool Objects, const TOptionsScreen* Options,
                               const std::string& Extra) {
  std::string json = "{\"frame\":" + std::to_string(Frame) + ",\"scene\":" + std::to_string(SceneNumberOf(Scene));
  if (Scene == nullptr) return json + Extra + "}";
  json += ",\"sceneFrame\":" + std::to_string(Scene->FrameCounter);
  if (const auto* title = dynamic_cast<const TOpeningScene*>(Scene)) {
    json += Flag("complete", title->Complete);
    json += ",\"idleCount\":" + std::to_string(title->IdleCount);
    json += ",\"strokeIndex\":" + std::to_string(title->StrokeIndex);
    json += ",\"logoColor\":" + std::to_string(title->LogoColor);
    json += ",\"skin\":" + JsonPathString(CurrentSkin) + ",\"skinDir\":" + JsonPathString(SkinDir());
    json += Field("skins", SkinNames.Count());
    json += Flag("nameEntry", title->Board && title->Board->Entering());
  } else if (const auto* game = dynamic_cast<const TShootingScene*>(Scene)) {
    json += DescribeGame(*game);
    if (Objects) json += DescribeObjects(*game);
  } else if (const auto* ending = dynamic_cast<const TEndingScene*>(Scene)) {
    char scroll[32];
    std::snprintf(scroll, sizeof scroll, "%.1f", ending->Scroll);
    json += std::string(",\"scroll\":") + scroll;
  }
  if (Options != nullptr && Options->Holding()) json += DescribeOptions(*Options);
  return json + Extra + "}";
}
