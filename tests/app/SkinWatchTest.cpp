// The skin watch on the tests' own skin: a change is read once the burst of saves has settled; the rebuilt game
// goes on at the stage, frame, place and power-ups play had reached; a skin that does not load changes nothing
// but the error on show (said once) and holds the game; mended, the game is rebuilt; a skin broken from the start
// waits on an empty scene.
#include "SkinWatch.h"

#include <gtest/gtest.h>

#include "../scenes/GameSkin.h"
#include "Enemy.h"
#include "EnemyList.h"
#include "FolderWatch.h"
#include "GameKeys.h"
#include "PlayerShip.h"
#include "SkinFolders.h"
#include "StageDefs.h"
#include "TextEncoding.h"
#include "UShooting.h"

namespace {

using scenetest::TGameSkin;

class TSaves : public TFolderChanges {
 public:
  bool Changed() override {
    const bool saved = Pending;
    Pending = false;
    return saved;
  }
  bool Pending = false;
};

constexpr const char* kStages =
    "<stage title=\"ONE\"/><stage title=\"TWO\"><enemy frame=\"0\" x=\"700\" y=\"100\" speed=\"0\" hp=\"5\"/></stage>";

class SkinWatchTest : public ::testing::Test {
 protected:
  SkinWatchTest() : skin_(kStages) {
    TGameStart start;
    start.Stage = 2;
    start.Frame = 30;
    start.Power = TShipPower{6, stDouble, 1};
    watch_ = std::make_unique<TSkinWatch>(saves_, start, [this](const std::string& Line) { lines_.push_back(Line); });
  }
  ~SkinWatchTest() override {
    scene_.reset();
    watch_.reset();
  }
  void WriteStages(const std::string& Xml) { datatest::WriteFile(SkinDir() + "xml/stagedef.xml", Xml); }
  void WriteGoodStages(const std::string& Stage2) {
    WriteStages("<stagedef><stage title=\"ONE\"/><stage title=\"TWO\">" + Stage2 + "</stage></stagedef>");
  }
  // One frame as the main form runs it with a supervisor; true when the scene was replaced.
  bool Frame() {
    h_.Keys()->Update();
    std::unique_ptr<TCustomScene> next = watch_->Replace(scene_.get(), h_.Sprites(), h_.Keys());
    const bool replaced = next != nullptr;
    if (next) scene_ = std::move(next);
    if (!watch_->Holds()) scene_->Update();
    return replaced;
  }
  // Frames until the scene is replaced (at most a second's worth), this one counted; how many it took.
  uint32_t FramesToReplace() {
    for (uint32_t n = 1; n <= 60; ++n) {
      if (Frame()) return n;
    }
    return 0;
  }
  TShootingScene* Game() const { return dynamic_cast<TShootingScene*>(scene_.get()); }

  TSceneHarness h_;
  TGameSkin skin_;
  TSaves saves_;
  std::vector<std::string> lines_;
  std::unique_ptr<TSkinWatch> watch_;
  std::unique_ptr<TCustomScene> scene_;
};

TEST_F(SkinWatchTest, AChangeRebuildsTheGameWherePlayWasOnceTheSavesSettle) {
  scene_ = watch_->FirstScene(h_.Sprites(), h_.Keys());
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Game()->StageNumber, 2);
  EXPECT_EQ(Game()->StageFrame, 30u);
  EXPECT_TRUE(Game()->Ship->Entering);
  EXPECT_EQ(Game()->Ship->ShotType, stDouble);
  while (Game()->Ship->Entering) Frame();
  h_.KeySource().SetKey(VK_DOWN, true);
  for (int i = 0; i < 20; ++i) Frame();
  h_.KeySource().SetKey(VK_DOWN, false);
  Game()->Ship->Lives = 2;
  const int32_t y = Game()->Ship->Y;
  EXPECT_GT(y, 300);

  // A burst of saves over several frames: nothing is read until none has come for the settle time.
  WriteGoodStages(
      "<enemy frame=\"0\" x=\"700\" y=\"100\" speed=\"0\" hp=\"5\"/>"
      "<enemy frame=\"80\" x=\"700\" y=\"200\" speed=\"0\"/>");
  for (int i = 0; i < 10; ++i) {
    saves_.Pending = true;
    EXPECT_FALSE(Frame()) << "read in the middle of the burst, frame " << i;
  }
  const uint32_t frame = Game()->StageFrame;
  const TShootingScene* before = Game();
  EXPECT_EQ(FramesToReplace(), TSkinWatch::kSettleFrames);
  ASSERT_NE(Game(), nullptr);
  EXPECT_NE(Game(), before);
  EXPECT_EQ(watch_->Reloads(), 1);
  EXPECT_EQ(Game()->StageNumber, 2);
  // The settle time went by in play; the rebuilt game then ran the frame it was built in.
  EXPECT_EQ(Game()->StageFrame, frame + TSkinWatch::kSettleFrames);
  EXPECT_FALSE(Game()->Ship->Entering) << "the ship goes on where it was";
  EXPECT_EQ(Game()->Ship->Y, y);
  EXPECT_EQ(Game()->Ship->Lives, 2);
  EXPECT_EQ(Game()->Ship->ShotType, stDouble);
  EXPECT_EQ(Game()->Ship->OptionCount, 1);
  EXPECT_EQ(Game()->Ship->Speed, 6);
  // The enemy of frame 0 is behind the clock: only the new one of frame 80 comes.
  while (Game()->StageFrame < 80) Frame();
  ASSERT_EQ(Game()->Enemies->Count(), 1);
  EXPECT_EQ(static_cast<TEnemy*>(Game()->Enemies->First())->Def->ScriptId, 1);
  EXPECT_EQ(lines_.size(), 1u);
  EXPECT_NE(lines_.back().find("skin reloaded: stage 2"), std::string::npos);
}

TEST_F(SkinWatchTest, ABrokenSkinHoldsTheLastGoodGameUnderItsErrorUntilMended) {
  scene_ = watch_->FirstScene(h_.Sprites(), h_.Keys());
  while (Game()->Ship->Entering) Frame();
  for (int i = 0; i < 10; ++i) Frame();
  const TShootingScene* good = Game();

  const struct {
    const char* Name;
    std::string Xml;
    std::string Message;
  } faults[] = {
      {"unknown graphic", "<stagedef><stage><enemy frame=\"0\" graphic=\"nothing\"/></stage></stagedef>",
       "\"nothing\"" + Jp("は定義されていないグラフィックIDです")},
      {"no frame", "<stagedef><stage><enemy/></stage></stagedef>", "frame"},
  };
  uint32_t held = 0;
  for (const auto& fault : faults) {
    WriteStages(fault.Xml);
    saves_.Pending = true;
    for (uint32_t n = 0; n <= TSkinWatch::kSettleFrames; ++n) EXPECT_FALSE(Frame()) << fault.Name;
    EXPECT_EQ(Game(), good) << fault.Name << ": the last good game stays";
    EXPECT_TRUE(watch_->Holds()) << fault.Name;
    EXPECT_EQ(watch_->Error(), fault.Message) << fault.Name;
    EXPECT_NE(watch_->StateFields().find("\"error\":\""), std::string::npos);
    if (held == 0) held = Game()->StageFrame;
    for (int i = 0; i < 30; ++i) Frame();
    EXPECT_EQ(Game()->StageFrame, held) << fault.Name << ": the game stands still under the error";
  }
  // Each error said once, in the box's words; saving the same fault again says nothing new.
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(lines_[1], ToUTF8(Jp("エラー")) + ": frame");
  saves_.Pending = true;
  for (uint32_t n = 0; n <= TSkinWatch::kSettleFrames; ++n) Frame();
  EXPECT_EQ(lines_.size(), 2u);
  EXPECT_EQ(watch_->Reloads(), 0);

  WriteGoodStages("<enemy frame=\"0\" x=\"700\" y=\"100\" speed=\"0\"/>");
  saves_.Pending = true;
  EXPECT_EQ(FramesToReplace(), TSkinWatch::kSettleFrames + 1);
  EXPECT_FALSE(watch_->Holds());
  EXPECT_TRUE(watch_->Error().empty());
  EXPECT_EQ(watch_->StateFields(), ",\"watch\":{\"reloads\":1,\"error\":null}");
  // Rebuilt at the frame it stood at, and played on from there in the same frame.
  EXPECT_EQ(Game()->StageFrame, held + 1);
  Frame();
  EXPECT_EQ(Game()->StageFrame, held + 2) << "play resumes";
  EXPECT_NE(lines_[2].find("skin mended"), std::string::npos);
}

TEST_F(SkinWatchTest, ASkinBrokenFromTheStartWaitsForTheFirstLoadThatWorks) {
  WriteStages("<stagedef><stage><enemy frame=\"0\" graphic=\"\"/></stage>");  // not even well-formed
  scene_ = watch_->FirstScene(h_.Sprites(), h_.Keys());
  ASSERT_NE(scene_, nullptr);
  EXPECT_EQ(Game(), nullptr);
  EXPECT_TRUE(watch_->Holds());
  ASSERT_EQ(lines_.size(), 1u);
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(Frame()) << "nothing changed, nothing is read";
  WriteGoodStages("");
  saves_.Pending = true;
  EXPECT_EQ(FramesToReplace(), TSkinWatch::kSettleFrames + 1);
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Game()->StageNumber, 2);
  EXPECT_EQ(Game()->StageFrame, 30u);
  EXPECT_TRUE(Game()->Ship->Entering);
  EXPECT_EQ(Game()->Ship->Speed, 6);
}

TEST_F(SkinWatchTest, TheTitleIsLeftAloneAndAGameBegunThereIsFollowed) {
  scene_ = std::make_unique<TCustomScene>(h_.Sprites(), h_.Keys());  // stands for the title
  saves_.Pending = true;
  for (uint32_t n = 0; n <= TSkinWatch::kSettleFrames * 2; ++n) EXPECT_FALSE(Frame());
  EXPECT_EQ(watch_->Reloads(), 0);
  // A game begun on the title: rebuilt at its own stage and frame, with its own (no) power-ups.
  scene_ = std::make_unique<TShootingScene>(h_.Sprites(), h_.Keys());
  while (Game()->Ship->Entering) Frame();
  saves_.Pending = true;
  EXPECT_EQ(FramesToReplace(), TSkinWatch::kSettleFrames + 1);
  EXPECT_EQ(Game()->StageNumber, 1);
  EXPECT_EQ(Game()->Ship->ShotType, stNormal);
  EXPECT_EQ(Game()->Ship->OptionCount, 0);
}

}  // namespace
