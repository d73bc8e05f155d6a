// The game itself: one stage script after another, the player's ship, every object family in its own list,
// collisions between the families, and the stage flow (start, restart after a lost ship, stage clear, next
// stage, game over). Render draws the frame: the scrolling background, the objects, the power-up meter and
// the centred messages.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "CustomScene.h"
#include "GameGraphics.h"
#include "GameStart.h"
#include "PlayObserver.h"
#include "WinTypes.h"

class TDGTexture;
class TEmu;
class TEnemy;
class TEnemyLinkedList;
class TEventLinkedList;
class TGraphicDef;
class TGraphicDefList;
class TObject;
class TScoreHud;
class TStageDef;
class TStageDefList;
class TStageObjectDef;
class TVisible;
class TVisibleLinkedList;

enum TPlayState : uint8_t { psPlaying = 0, psGameOver = 1, psStageClear = 2 };

class TShootingScene : public TCustomScene {
 public:
  static constexpr uint32_t kBackColor = 0x00101010;
  static constexpr int32_t kShipStartX = 200, kShipStartY = 300;
  static constexpr int32_t kDamage = 1;
  static constexpr int32_t kBulletChance = 20;  // one destroyed enemy in this many fires a last bullet
  static constexpr int32_t kBulletSpeed = 3;
  static constexpr uint32_t kRestartDelay = 50, kGameOverDelay = 300, kStageClearDelay = 300;
  static constexpr int32_t kLossBlasts = 5, kClearBlasts = 10;
  static constexpr uint32_t kLossBlastStep = 10, kClearBlastStep = 20;
  // Scoring (README "Score"): an enemy pays for the hit points it started with, a group wiped out pays for each
  // of its members, and the stage-clear enemy pays a bonus besides its own points.
  static constexpr uint64_t kPointsPerHP = 100, kGroupBonusPerMember = 200, kStageClearBonus = 10000;
  using enum TGameGraphic;  // Graphics is indexed by TGameGraphic
  static constexpr int32_t kGraphicCount = giGameGraphicCount;

  TShootingScene(TSXScene* SpriteScene, TKeyStates* Keys);
  // A game that begins at Start: stage Start.Stage at Start.Frame as a restart there would (earlier entries
  // skipped, the restart frame Start.Frame, the ship flying in unless Start.Ship places it), with Start.Power
  // bought. A stage number beyond the skin's stages goes to the ending, as running out of stages does.
  TShootingScene(TSXScene* SpriteScene, TKeyStates* Keys, const TGameStart& Start);
  ~TShootingScene() override;

  void Update() override;
  void Render() override;

  // Pauses or resumes, pausing the music with the game.
  void SetPaused(bool Value);
  // Begins AStage at StartFrame (the ending when there is none); the ship is left as it is.
  void StartStage(TStageDef* AStage, uint32_t StartFrame);

  // Handlers: an enemy destroyed, the ship lost, and the four timers.
  void EnemyDestroyed(TObject* Sender);
  void ShipDestroyed(TObject* Sender);
  void SpawnBlast(TObject* Sender);
  void RestartAfterLoss(TObject* Sender);
  void EndGameOver(TObject* Sender);
  void EndStageClear(TObject* Sender);

  uint32_t StageFrame = 0;
  int32_t StageNumber = 0;  // of Stage, counted from 1; 0 before the first stage
  bool Paused = false;
  TPlayState State = psPlaying;
  bool AdvanceStage = false;
  std::unique_ptr<TDGTexture> PauseTexture, GameOverTexture, StageClearTexture, TitleTexture;
  std::unique_ptr<TDGTexture> MapTexture;
  std::unique_ptr<TGraphicDefList> GraphicDefs;
  std::array<TGraphicDef*, kGraphicCount> Graphics{};
  std::unique_ptr<TEmu> Ship;
  std::unique_ptr<TVisibleLinkedList> ShotList;
  std::unique_ptr<TEnemyLinkedList> Enemies;
  std::unique_ptr<TVisibleLinkedList> EnemyShots;
  std::unique_ptr<TStageDefList> StageDefs;
  TStageDef* Stage = nullptr;
  TStageObjectDef* NextObject = nullptr;
  uint32_t RestartFrame = 0;
  std::unique_ptr<TVisibleLinkedList> Explosions;
  std::vector<int32_t> GroupCounts;
  std::unique_ptr<TVisibleLinkedList> Drops;
  std::unique_ptr<TEventLinkedList> Timers;
  TRect BlastArea;
  uint32_t Score = 0;              // points of this game, held at kMaxScore
  std::unique_ptr<TScoreHud> Hud;  // lives and score; none on the design's own (classic) screen

 private:
  // Ends the game for the title (0) or the ending (2), handing its score to the high scores.
  void EndGame(uint8_t Next);
  void RunStageScript();
  // Tells the play observer of every enemy still flying (and now to be dropped) that it ended as End.
  void ReportEnemiesLeft(TEnemyEnd End);
  void ResolveCollisions();
  void EnemyMeetsWeaponsAndShip(TEnemy* Enemy);
  void BulletsMeetShip();
  void CapsulesMeetShip();
  template <void (TShootingScene::*Handler)(TObject*)>
  void AddTimer(uint32_t Delay);
  void AddBlasts(const TVisible& Around, int32_t Count, uint32_t Step);
  // Render's parts.
  void DrawBackground();
  void DrawMeter();
  void DrawCentred(bool Smooth, uint32_t Color, TDGTexture* Texture);
};
