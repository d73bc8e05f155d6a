// The options screen in the main form: opened with Tab over a scene that offers it, worked with the arrows and
// Enter, binding keys that the game then reads through the binding layer, while the game under it stands still
// and a recording never sees its frames.
#include "OptionsScreen.h"

#include <gtest/gtest.h>

#include <sstream>

#include "AlwaysActiveKeys.h"
#include "BoundKeys.h"
#include "GameOptions.h"
#include "HeadlessWindow.h"
#include "KeyRecorder.h"
#include "KeyScript.h"
#include "KeyStates.h"
#include "UMainForm.h"
#include "UShooting.h"
#include "VirtualClock.h"

namespace {

int GUpdates = 0;
bool GOffers = true;

// A white scene that offers the options when told to and counts its updates.
class TOfferingScene : public TCustomScene {
 public:
  TOfferingScene(TSXScene* SpriteScene, TKeyStates* Keys) : TCustomScene(SpriteScene, Keys) { BackColor = 0xFFFFFF; }
  void Update() override {
    TCustomScene::Update();
    ++GUpdates;
  }
  bool OffersOptions() const override { return GOffers; }
};
std::unique_ptr<TCustomScene> MakeOffering(TSXScene* SpriteScene, TKeyStates* Keys) {
  return std::make_unique<TOfferingScene>(SpriteScene, Keys);
}
const TSceneClass kScenes[kSceneCount] = {&MakeOffering, nullptr, nullptr};

class TSilentHost : public TFormHost {
 public:
  void SetCaption(const std::string&) override {}
  void SetScreenCursor(int) override {}
  int MessageBoxA(const std::string&, const std::string&, uint32_t) override { return IDOK; }
};

constexpr uint8_t kX = 'X';
constexpr int kScale = 1, kVolume = 3, kAutoPause = 5, kFire = 7, kPowerUp = 8, kDefaultKeys = 14;

class OptionsScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GUpdates = 0;
    GOffers = true;
    TMainFormEnvironment environment{app_, host_, window_, clock_, recorder_, 7u, kScenes};
    environment.Options = &options_;
    form_ = std::make_unique<TMainForm>(environment);
    Pass();
  }
  void TearDown() override { form_.reset(); }
  void Pass() {
    clock_.Advance(17);
    bool done = true;
    app_.OnIdle(done);
  }
  // Presses a key for one frame and lets it go in the next.
  void Tap(uint8_t Key) {
    keys_.SetKey(Key, true);
    Pass();
    keys_.SetKey(Key, false);
    Pass();
  }
  void TapTimes(uint8_t Key, int Times) {
    for (int i = 0; i < Times; ++i) Tap(Key);
  }
  TOptionsScreen& Screen() { return *form_->Options(); }
  uint32_t Corner() const { return window_.Capture().Pixel(2, 2) & 0xFFFFFF; }

  TApplication app_;
  TSilentHost host_;
  THeadlessWindow window_{TMainForm::kDesignClientWidth, TMainForm::kDesignClientHeight};
  TVirtualClock clock_{5000};
  TScriptedKeySource keys_;
  TGameSettings settings_;
  TBoundKeys bound_{keys_, nullptr, &settings_.Keys};
  std::ostringstream recording_;
  TKeyRecorder recorder_{bound_, recording_, 7, "morv"};
  TGameOptions options_{settings_, keys_};
  std::unique_ptr<TMainForm> form_;
};

// Tab opens the screen only over a scene that offers it, and only as it goes down; while the screen holds the
// game, the scene is neither updated nor its keys sampled (the recorder counts no frame), but it is drawn, dimmed.
TEST_F(OptionsScreenTest, TabOpensItOverAnOfferingSceneAndTheGameStandsStill) {
  GOffers = false;
  Tap(VK_TAB);
  EXPECT_FALSE(Screen().Holding());
  keys_.SetKey(VK_TAB, true);  // held from before the offer: not a new press
  Pass();
  GOffers = true;
  Pass();
  EXPECT_FALSE(Screen().Holding());
  EXPECT_EQ(Corner(), 0xFFFFFFu);
  keys_.SetKey(VK_TAB, false);
  Pass();
  keys_.SetKey(VK_TAB, true);
  Pass();
  ASSERT_TRUE(Screen().Shown());
  const int updates = GUpdates;
  const uint32_t recorded = recorder_.Frames();
  const uint32_t presented = window_.Capture().FrameCount();
  keys_.SetKey(VK_TAB, false);
  TapTimes(VK_DOWN, 3);
  EXPECT_EQ(GUpdates, updates);
  EXPECT_EQ(recorder_.Frames(), recorded);
  EXPECT_EQ(window_.Capture().FrameCount(), presented + 6);
  EXPECT_EQ(Corner(), 0x4F4F4Fu);  // white under the screen's dimming
  Tap(VK_TAB);                     // closes it again
  EXPECT_FALSE(Screen().Holding());
  Pass();
  EXPECT_EQ(GUpdates, updates + 2);
  EXPECT_EQ(recorder_.Frames(), recorded + 2);
}

TEST_F(OptionsScreenTest, ArrowsChooseAndChangeWithinRanges) {
  Tap(VK_TAB);
  EXPECT_EQ(Screen().Row(), 0);
  Tap(VK_UP);  // round to the last row
  EXPECT_EQ(Screen().Row(), TOptionsScreen::kRowCount - 1);
  Tap(VK_DOWN);
  Tap(VK_DOWN);
  EXPECT_EQ(Screen().Row(), kScale);
  TapTimes(VK_RIGHT, 9);
  EXPECT_EQ(settings_.Scale, 8);
  TapTimes(VK_LEFT, 9);
  EXPECT_EQ(settings_.Scale, 1);
  TapTimes(VK_DOWN, kVolume - kScale);
  Tap(VK_LEFT);
  EXPECT_EQ(settings_.Volume, 90);
  TapTimes(VK_RIGHT, 2);
  EXPECT_EQ(settings_.Volume, 100);
  TapTimes(VK_DOWN, kAutoPause - kVolume);
  Tap(VK_RETURN);
  EXPECT_FALSE(settings_.AutoPause);
  TScriptedKeySource away;
  away.SetActive(false);
  EXPECT_TRUE(TAlwaysActiveKeys(away, settings_.AutoPause).IsApplicationActive()) << "the game goes on at once";
  Tap(VK_RIGHT);
  EXPECT_TRUE(settings_.AutoPause);
  Tap(VK_DOWN);
  Tap(VK_RETURN);
  EXPECT_TRUE(settings_.Classic);
  EXPECT_EQ(settings_.Keys, TKeyBindings{});
}

// Enter on an action waits for a key: one another action has is refused with a note and the wait goes on,
// Escape keeps the old key, a free key is bound and the game reads it at once; its recording holds the game's
// own code.
TEST_F(OptionsScreenTest, AKeyIsBoundByPressingItAndDuplicatesAreRefused) {
  Tap(VK_TAB);
  TapTimes(VK_DOWN, kFire);
  Tap(VK_RETURN);
  ASSERT_TRUE(Screen().Capturing());
  Tap(VK_C);
  EXPECT_TRUE(Screen().Capturing());
  EXPECT_EQ(Screen().Note(), "C IS POWER-UP'S KEY: PRESS ANOTHER");
  Tap(VK_TAB);
  EXPECT_EQ(Screen().Note(), "TAB IS THE PROGRAM'S OWN: PRESS ANOTHER");
  EXPECT_TRUE(Screen().Shown());
  Tap(VK_ESCAPE);
  EXPECT_FALSE(Screen().Capturing());
  EXPECT_EQ(settings_.Keys, TKeyBindings{});
  Tap(VK_RETURN);
  Tap(kX);
  EXPECT_FALSE(Screen().Capturing());
  EXPECT_EQ(Screen().Note(), "FIRE IS ON X");
  EXPECT_EQ(settings_.Keys.Key(kaFire), kX);
  Tap(VK_DOWN);
  Tap(VK_RETURN);
  Tap(VK_Z);  // fire's old key is free now
  EXPECT_EQ(settings_.Keys.Key(kaPowerUp), VK_Z);

  // Escape closes the screen, but the game goes on only once it is let go (the title would quit on it).
  keys_.SetKey(VK_ESCAPE, true);
  Pass();
  EXPECT_FALSE(Screen().Shown());
  EXPECT_TRUE(Screen().Holding());
  Pass();
  EXPECT_TRUE(Screen().Holding());
  keys_.SetKey(VK_ESCAPE, false);
  Pass();
  EXPECT_FALSE(Screen().Holding());

  keys_.SetKey(kX, true);
  Pass();
  EXPECT_TRUE(form_->KeyStates()->IsDown(VK_Z));
  EXPECT_FALSE(form_->KeyStates()->IsDown(VK_C));
  keys_.SetKey(kX, false);
  keys_.SetKey(VK_C, true);  // power-up's old key: nothing now
  Pass();
  EXPECT_FALSE(form_->KeyStates()->IsDown(VK_C));
  EXPECT_FALSE(form_->KeyStates()->IsDown(VK_Z));
  recorder_.Finish();
  std::istringstream script(recording_.str());
  const TKeyScript read = ReadKeyScript(script);
  bool fired = false;
  for (const TKeyScriptLine& line : read.Lines) {
    for (uint8_t key : line.Keys) {
      EXPECT_NE(key, kX);
      fired = fired || key == VK_Z;
    }
  }
  EXPECT_TRUE(fired);

  // The last row puts every action back on its own key.
  Tap(VK_TAB);
  TapTimes(VK_UP, TOptionsScreen::kRowCount - kDefaultKeys);
  Tap(VK_RETURN);
  EXPECT_EQ(settings_.Keys, TKeyBindings{});
}

}  // namespace
