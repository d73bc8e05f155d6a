#include "UShooting.h"

#include <algorithm>

#include "DGTexture.h"
#include "DebugTrace.h"
#include "Enemy.h"
#include "EnemyList.h"
#include "GameKeys.h"
#include "GameRandom.h"
#include "GraphicDefs.h"
#include "HighScores.h"
#include "KeyStates.h"
#include "Laser.h"
#include "PlayerShip.h"
#include "ScoreHud.h"
#include "Shots.h"
#include "SkinFolders.h"
#include "SoundSink.h"
#include "StageDefs.h"
#include "TextEncoding.h"
#include "UEvents.h"
#include "Visible.h"

namespace {

constexpr const char* kMessageFont = "ＭＳ ゴシック";

// The rows of kGameGraphics in the order their ids are looked up.
constexpr std::array<int32_t, giGameGraphicCount> LookupOrder() {
  std::array<int32_t, giGameGraphicCount> order{};
  for (int32_t row = 0; row < giGameGraphicCount; ++row) order[kGameGraphics[row].LookupRank] = row;
  return order;
}

// A uniform integer from the smaller bound (inclusive) to the larger (exclusive); the bound when both agree.
int32_t RandomBetween(int32_t A, int32_t B) {
  const int64_t low = std::min(A, B), high = std::max(A, B);
  if (low == high) return static_cast<int32_t>(low);
  const int64_t range = std::min<int64_t>(high - low, INT32_MAX);
  return static_cast<int32_t>(low + Random(static_cast<int32_t>(range)));
}

}  // namespace

TShootingScene::TShootingScene(TSXScene* SpriteScene, TKeyStates* Keys)
    : TShootingScene(SpriteScene, Keys, TGameStart{}) {}

TShootingScene::TShootingScene(TSXScene* SpriteScene, TKeyStates* Keys, const TGameStart& Start)
    : TCustomScene(SpriteScene, Keys) {
  BackColor = kBackColor;
  PauseTexture = CreateTextTexture("PAUSE", Jp(kMessageFont), 16);
  GameOverTexture = CreateTextTexture("GAMEOVER", Jp(kMessageFont), 40);
  StageClearTexture = CreateTextTexture("STAGE CLEAR", Jp(kMessageFont), 40);

  MapTexture = CreateSceneTexture(Device());
  MapTexture->LoadFromFile(FindGraphicFile("map.bmp"));
  MapTexture->SetColorKey(
      MakeRect(0, 0, static_cast<int32_t>(MapTexture->Width()), static_cast<int32_t>(MapTexture->Height())), 0xFF00FF);

  GraphicDefs = std::make_unique<TGraphicDefList>(Device());
  GraphicDefs->Load(CurrentSkinPlace());
  for (const int32_t row : LookupOrder()) {
    const TGameGraphicRow& graphic = kGameGraphics[row];
    Graphics[row] = graphic.MustBeSprite ? FindSprite(*GraphicDefs, graphic.Id) : GraphicDefs->Find(graphic.Id);
  }

  ShotList = std::make_unique<TVisibleLinkedList>();
  TGraphicDef* shipGraphic = GraphicDefs->Find("ship");
  TGraphicDef* optionGraphic = GraphicDefs->Find("option");
  Ship = std::make_unique<TEmu>(kShipStartX, kShipStartY, shipGraphic, optionGraphic, Graphics[giShot],
                                Graphics[giLaser], Graphics[giBullet], Keys, ShotList.get());
  Ship->OnDestroyed = [this](TObject* Sender) { ShipDestroyed(Sender); };

  Enemies = std::make_unique<TEnemyLinkedList>();
  Enemies->SetOnDestroyed([this](TObject* Sender) { EnemyDestroyed(Sender); });
  EnemyShots = std::make_unique<TVisibleLinkedList>();
  Explosions = std::make_unique<TVisibleLinkedList>();
  Drops = std::make_unique<TVisibleLinkedList>();
  Timers = std::make_unique<TEventLinkedList>();

  StageDefs = std::make_unique<TStageDefList>(GraphicDefs.get());
  StageDefs->Reload(CurrentSkinPlace());
  if (!ScoreBook.Classic) Hud = std::make_unique<TScoreHud>(*this);
  TStageDef* stage = StageDefs->First();
  for (int32_t n = 1; n < Start.Stage && stage != nullptr; ++n) stage = stage->Next();
  StartStage(stage, Start.Frame);
  Ship->ApplyPower(Start.Power.Speed, Start.Power.ShotType, Start.Power.Options);
  if (Start.Ship) {
    Ship->MoveTo(Start.Ship->X, Start.Ship->Y);
    Ship->Lives = Start.Ship->Lives;
  } else {
    Ship->Enter();
  }
}

// The order matters: textures before the definitions whose sprites share their pictures; the ship (whose options
// and shots point into ShotList and the graphics) before the lists; the enemies before the stage script their
// definitions come from; the timers last, since their handlers point back into this scene.
TShootingScene::~TShootingScene() {
  if (Enemies) ReportEnemiesLeft(eeCleared);
  Hud.reset();
  PauseTexture.reset();
  GameOverTexture.reset();
  StageClearTexture.reset();
  TitleTexture.reset();
  MapTexture.reset();
  GraphicDefs.reset();
  Ship.reset();
  ShotList.reset();
  Enemies.reset();
  EnemyShots.reset();
  StageDefs.reset();
  Explosions.reset();
  Drops.reset();
  Timers.reset();
}

void TShootingScene::StartStage(TStageDef* AStage, uint32_t StartFrame) {
  if (AStage == nullptr) {
    EndGame(2);
    return;
  }
  // Told while the stage they flew in is still the scene's.
  ReportEnemiesLeft(eeCleared);
  AdvanceStage = false;
  Paused = false;
  State = psPlaying;
  Stage = AStage;
  StageFrame = StartFrame;
  RestartFrame = StartFrame;
  NextObject = Stage->FindFrom(StartFrame);
  GroupCounts.assign(Stage->GroupSizes.begin(), Stage->GroupSizes.end());
  ShotList->Clear();
  Enemies->Clear();
  Explosions->Clear();
  Drops->Clear();
  Timers->Clear();
  TitleTexture.reset();
  TitleTexture = CreateTextTexture(Stage->Title, Jp(kMessageFont), 40);
  StageNumber = 1;
  for (const TStageDef* s = StageDefs->First(); s != nullptr && s != Stage; s = s->Next()) ++StageNumber;
  GameSound().PlayMusic(TMusicTrack{mkStage, StageNumber});
}

void TShootingScene::SetPaused(bool Value) {
  if (Value == Paused) return;
  Paused = Value;
  GameSound().PlayEffect(sePause);
  GameSound().PauseMusic(Paused);
}

void TShootingScene::Update() {
  if (State != psGameOver) {
    const bool wasPaused = Paused;
    if (Keys()->IsPressed(VK_RETURN)) SetPaused(!Paused);
    // Escape is the way out: the first press pauses, a second one (while paused) gives up for the title.
    if (Keys()->IsPressed(VK_ESCAPE)) {
      if (wasPaused) {
        EndGame(0);
        return;
      }
      SetPaused(true);
    }
    // Keys read as up while away, so a game left running would fly the ship unattended; it waits for Enter. (A
    // player who turned this off has the game's key source report the program as always active.)
    if (!Keys()->ApplicationActive()) SetPaused(true);
  }
  if (Paused) return;
  TCustomScene::Update();
  if (!Ship->Entering) ++StageFrame;
  if (State == psGameOver && (Keys()->IsPressed(VK_RETURN) || Keys()->IsPressed(VK_ESCAPE))) {
    EndGame(0);
    return;
  }
  if (!Ship->Entering) RunStageScript();
  Ship->Update(1);
  ShotList->UpdateAll(1);
  Enemies->UpdateAll(1);
  EnemyShots->UpdateAll(1);
  Drops->UpdateAll(1);
  Explosions->UpdateAll(1);
  Timers->UpdateAll(1);
  if (State == psPlaying) ResolveCollisions();
  ShotList->RemoveFinished();
  if (PlayObserver() != nullptr) {
    Enemies->ForEach([this](TLinkedItem* Item) {
      const auto* enemy = static_cast<const TEnemy*>(Item);
      if (enemy->IsFinished() && !enemy->Destroyed) PlayObserver()->EnemyEnded(*this, *enemy, eeEscaped);
    });
  }
  Enemies->RemoveFinished();
  EnemyShots->RemoveFinished();
  Drops->RemoveFinished();
  Explosions->RemoveFinished();
  Timers->RemoveFinished();
  if (AdvanceStage) StartStage(Stage->Next(), 0);
}

void TShootingScene::RunStageScript() {
  while (NextObject != nullptr && NextObject->Frame <= StageFrame) {
    if (NextObject->Kind == okEnemy) {
      auto* enemy = new TEnemy(static_cast<TEnemyDef*>(NextObject));
      Enemies->Add(enemy);
      if (PlayObserver() != nullptr) PlayObserver()->EnemyAppeared(*this, *enemy);
    } else if (NextObject->Kind == okRestartPoint) {
      RestartFrame = NextObject->Frame;
    }
    NextObject = NextObject->Next();
  }
}

void TShootingScene::ReportEnemiesLeft(TEnemyEnd End) {
  if (PlayObserver() == nullptr) return;
  Enemies->ForEach([this, End](TLinkedItem* Item) {
    // One destroyed has been told of already; one that left the field in this frame's moves is told here, as
    // the list is cleared before its removal would have told it.
    const auto* enemy = static_cast<const TEnemy*>(Item);
    if (!enemy->IsFinished()) {
      PlayObserver()->EnemyEnded(*this, *enemy, End);
    } else if (!enemy->Destroyed) {
      PlayObserver()->EnemyEnded(*this, *enemy, eeEscaped);
    }
  });
}

void TShootingScene::ResolveCollisions() {
  Enemies->ForEach([this](TLinkedItem* Item) { EnemyMeetsWeaponsAndShip(static_cast<TEnemy*>(Item)); });
  BulletsMeetShip();
  CapsulesMeetShip();
}

void TShootingScene::EnemyMeetsWeaponsAndShip(TEnemy* Enemy) {
  const int32_t hp = Enemy->HP;
  ShotList->ForEach([Enemy](TLinkedItem* Item) {
    auto* shot = static_cast<TVisible*>(Item);
    if (!Enemy->Collides(shot)) return;
    Enemy->Damage(kDamage);
    // A beam goes on through the enemies it destroys; every other shot is spent.
    if (dynamic_cast<TLaser*>(shot) == nullptr || Enemy->HP > 0) shot->Delete();
  });
  if (Enemy->HP > 0) {
    for (int32_t i = 0; i < Ship->OptionCount && Enemy->HP > 0; ++i) {
      if (Enemy->Collides(Ship->Options[i].get())) Enemy->Damage(kDamage);
    }
  }
  if (Enemy->HP > 0 && Ship->Energy > 0 && Enemy->Collides(Ship.get())) {
    Ship->Hit(kDamage);
    Enemy->Damage(kDamage);
  }
  if (Enemy->HP > 0 && Enemy->HP < hp) GameSound().PlayEffect(seEnemyHit);
}

void TShootingScene::BulletsMeetShip() {
  if (Ship->Energy <= 0) return;
  for (TLinkedItem* item = EnemyShots->First(); item != nullptr; item = item->Next()) {
    if (Ship->Collides(static_cast<TVisible*>(item))) {
      Ship->Hit(kDamage);
      item->Delete();
      return;  // at most one bullet strikes per frame
    }
  }
}

void TShootingScene::CapsulesMeetShip() {
  if (Ship->Energy <= 0) return;
  Drops->ForEach([this](TLinkedItem* Item) {
    if (!Ship->Collides(static_cast<TVisible*>(Item))) return;
    Ship->AdvanceCursor();
    Item->Delete();
    GameSound().PlayEffect(seCapsuleCollected);
  });
}

void TShootingScene::EnemyDestroyed(TObject* Sender) {
  auto* enemy = static_cast<TEnemy*>(Sender);
  const int32_t group = enemy->GroupIndex();
  // The stage loader keeps indices inside GroupSizes; anything else is treated as no group at all.
  const bool grouped = group >= 0 && static_cast<size_t>(group) < GroupCounts.size();
  static const std::string kGroupDestroyed = Jp("グループ %d 撃破");
  Score = AddScore(Score, kPointsPerHP * static_cast<uint64_t>(std::max(enemy->Def->HP, 1)));
  if (grouped && --GroupCounts[group] == 0) {
    DebugTraceFmt(kGroupDestroyed.c_str(), group);
    const int32_t members = Stage->GroupSizes[static_cast<size_t>(group)];
    Score = AddScore(Score, kGroupBonusPerMember * static_cast<uint64_t>(std::max(members, 1)));
  }
  if (PlayObserver() != nullptr) PlayObserver()->EnemyEnded(*this, *enemy, eeDestroyed);

  if (enemy->HasItem()) {
    const bool pays = !grouped ? group == -1 : GroupCounts[group] == 0;
    const int32_t graphic = ItemGraphic(enemy->Item());
    if (pays && graphic < kGraphicCount) {
      if (grouped) --GroupCounts[group];  // a group pays out once
      Drops->Add(new TDrop(enemy->X, enemy->Y, static_cast<TItemKind>(enemy->Item()), Graphics[graphic]));
      if (PlayObserver() != nullptr) PlayObserver()->GroupPaid(*this, grouped ? group : -1);
    }
  }

  if (enemy->IsStageClear()) {
    Score = AddScore(Score, kStageClearBonus);
    GameSound().PlayEffect(seBossDestroyed);
    GameSound().PlayEffect(seStageClear);
    GameSound().StopMusic();
    State = psStageClear;
    AddTimer<&TShootingScene::EndStageClear>(kStageClearDelay);
    AddBlasts(*enemy, kClearBlasts, kClearBlastStep);
    return;
  }
  GameSound().PlayEffect(seEnemyDestroyed);
  if (Random(kBulletChance) == 0) {
    EnemyShots->Add(TDirShot::CreateAimed(enemy->X, enemy->Y, Graphics[giBullet], Ship.get(), kBulletSpeed).release());
  }
  Explosions->Add(new TAnimation(enemy->X, enemy->Y, Graphics[giExplosion]));
}

void TShootingScene::ShipDestroyed(TObject* /*Sender*/) {
  GameSound().PlayEffect(seShipLost);
  if (Ship->Lives > 0) {
    AddBlasts(*Ship, kLossBlasts, kLossBlastStep);
    AddTimer<&TShootingScene::RestartAfterLoss>(kRestartDelay);
    return;
  }
  State = psGameOver;
  GameSound().PlayEffect(seGameOver);
  GameSound().StopMusic();
  AddTimer<&TShootingScene::EndGameOver>(kGameOverDelay);
  AddBlasts(*Ship, kLossBlasts, kLossBlastStep);
}

template <void (TShootingScene::*Handler)(TObject*)>
void TShootingScene::AddTimer(uint32_t Delay) {
  // Bound to this scene alone, the handler fits the event's own storage: no allocation besides the timer.
  Timers->Add(new TTimerEvent(Delay, [this](TObject* Sender) { (this->*Handler)(Sender); }));
}

void TShootingScene::AddBlasts(const TVisible& Around, int32_t Count, uint32_t Step) {
  Around.GetRect(BlastArea);
  for (int32_t i = 0; i < Count; ++i) AddTimer<&TShootingScene::SpawnBlast>(Step * static_cast<uint32_t>(i));
}

void TShootingScene::SpawnBlast(TObject* /*Sender*/) {
  const int32_t x = RandomBetween(BlastArea.Left, BlastArea.Right);
  const int32_t y = RandomBetween(BlastArea.Top, BlastArea.Bottom);
  Explosions->Add(new TAnimation(x, y, Graphics[giExplosion]));
}

void TShootingScene::RestartAfterLoss(TObject* /*Sender*/) {
  StartStage(Stage, RestartFrame);
  Ship->Restart();
}

void TShootingScene::EndGameOver(TObject* /*Sender*/) { EndGame(0); }

void TShootingScene::EndGame(uint8_t Next) {
  // Only the first end counts: a later Finish in the same frame only renames the next scene.
  if (!Finished()) ScoreBook.GameEnded(CurrentSkin, Score);
  Finish(Next);
}

void TShootingScene::EndStageClear(TObject* /*Sender*/) { AdvanceStage = true; }
