#include "UMainForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Exception.h"
#include "HeadlessWindow.h"
#include "KeyScript.h"
#include "KeyStates.h"
#include "MessageLoop.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"
#include "VirtualClock.h"
#include "support/D3D9TestHooks.h"

namespace {

// What the test scenes do and what happened to them.
struct TProbe {
  std::vector<std::string> Events;
  int FinishOnUpdate = -1;  // the scene's n-th Update (1-based) calls Finish(FinishWith)
  uint8_t FinishWith = 0;
  int ThrowOnUpdate = -1;  // the scene's n-th Update raises an Exception
  bool ThrowInRender = false;
};
TProbe* GProbe = nullptr;

template <int Id>
class TProbeScene : public TCustomScene {
 public:
  TProbeScene(TSXScene* SpriteScene, TKeyStates* Keys) : TCustomScene(SpriteScene, Keys) {
    GProbe->Events.push_back("create " + std::to_string(Id));
  }
  ~TProbeScene() override { GProbe->Events.push_back("destroy " + std::to_string(Id)); }
  void Update() override {
    TCustomScene::Update();
    GProbe->Events.push_back("update " + std::to_string(Id));
    if (static_cast<int>(FrameCounter) == GProbe->ThrowOnUpdate) throw Exception(Jp("テスト用の例外"));
    if (static_cast<int>(FrameCounter) == GProbe->FinishOnUpdate) Finish(GProbe->FinishWith);
  }
  void Render() override {
    TCustomScene::Render();
    GProbe->Events.push_back("render " + std::to_string(Id));
    if (GProbe->ThrowInRender) throw Exception("render failed");
  }
};

template <int Id>
std::unique_ptr<TCustomScene> Make(TSXScene* SpriteScene, TKeyStates* Keys) {
  return std::make_unique<TProbeScene<Id>>(SpriteScene, Keys);
}
const TSceneClass kProbeScenes[kSceneCount] = {&Make<0>, nullptr, &Make<2>};

class TRecordingHost : public TFormHost {
 public:
  void SetCaption(const std::string& Text) override { Caption = Text; }
  void SetScreenCursor(int Cursor) override { Cursors.push_back(Cursor); }
  int MessageBoxA(const std::string& Text, const std::string& Title, uint32_t Flags) override {
    Boxes.push_back({Text, Title, Flags});
    return IDOK;
  }
  struct TBox {
    std::string Text, Caption;
    uint32_t Flags;
  };
  std::string Caption;
  std::vector<int> Cursors;
  std::vector<TBox> Boxes;
};

// The frames the form reported, with the scene each left running.
struct TObservedFrames : TFrameObserver {
  void FrameDone(uint32_t Frame, const TCustomScene* Scene, const TOptionsScreen*) override {
    Frames.push_back({Frame, Scene});
  }
  std::vector<std::pair<uint32_t, const TCustomScene*>> Frames;
};

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GProbe = &probe_;
    D3D9Hooks().Reset();
  }
  void TearDown() override {
    form_.reset();
    GProbe = nullptr;
    D3D9Hooks().Reset();
  }
  void Create() {
    TMainFormEnvironment environment{app_, host_, window_, clock_, keys_, 7u, kProbeScenes};
    environment.FrameObserver = &observer_;
    form_ = std::make_unique<TMainForm>(environment);
  }
  // One idle pass after Milliseconds have gone by.
  void Pass(uint32_t Milliseconds = 17) {
    clock_.Advance(Milliseconds);
    ASSERT_TRUE(app_.OnIdle);
    bool done = true;
    app_.OnIdle(done);
  }
  uint32_t Presented() const { return window_.Capture().FrameCount(); }
  int Count(const std::string& Event) const {
    return static_cast<int>(std::count(probe_.Events.begin(), probe_.Events.end(), Event));
  }

  TProbe probe_;
  TApplication app_;
  TRecordingHost host_;
  THeadlessWindow window_{TMainForm::kDesignClientWidth, TMainForm::kDesignClientHeight};
  TVirtualClock clock_{5000};
  TScriptedKeySource keys_;
  TObservedFrames observer_;
  std::unique_ptr<TMainForm> form_;
};

TEST_F(MainFormTest, FormCreateSetsUpWindowSceneTimerAndIdleHandler) {
  Create();
  EXPECT_EQ(app_.Title, "MORVANTH");
  EXPECT_EQ(host_.Caption, "MORVANTH");
  EXPECT_EQ(host_.Cursors, std::vector<int>{crNone});
  EXPECT_EQ(window_.ClientWidth(), 800);
  EXPECT_EQ(window_.ClientHeight(), 600);
  EXPECT_EQ(form_->DG()->Width(), 800);
  EXPECT_EQ(form_->DG()->Height(), 600);
  EXPECT_EQ(clock_.PeriodRequests, std::vector<int>{1});
  EXPECT_EQ(form_->LastTime, 5000u - 17u);
  EXPECT_EQ(probe_.Events, std::vector<std::string>{"create 0"});
  EXPECT_TRUE(app_.OnIdle);
}

TEST_F(MainFormTest, FirstPassNeverSleepsAndPresentsOneFrame) {
  Create();
  bool done = true;
  app_.OnIdle(done);   // at once: LastTime lies 17 ms back
  EXPECT_FALSE(done);  // the idle handler wants to run again at once
  EXPECT_TRUE(clock_.Sleeps.empty());
  EXPECT_EQ(probe_.Events, (std::vector<std::string>{"create 0", "update 0", "render 0"}));
  EXPECT_EQ(Presented(), 1u);
}

TEST_F(MainFormTest, APassFiveMillisecondsAfterTheLastSleepsOneAndStillRuns) {
  Create();
  Pass(0);
  Pass(5);
  EXPECT_EQ(clock_.Sleeps, std::vector<uint32_t>{1});
  EXPECT_EQ(Count("update 0"), 2);
  EXPECT_EQ(Presented(), 2u);
  Pass(17);  // a full frame later: no sleep
  EXPECT_EQ(clock_.Sleeps.size(), 1u);
}

TEST_F(MainFormTest, TimerWrapAroundIsHarmless) {
  clock_ = TVirtualClock(0xFFFFFFF0u);
  Create();
  Pass(20);  // the clock wrapped to 4; the unsigned difference is still 20 + 17
  EXPECT_TRUE(clock_.Sleeps.empty());
  Pass(3);
  EXPECT_EQ(clock_.Sleeps, std::vector<uint32_t>{1});
}

TEST_F(MainFormTest, AFinishingSceneIsReplacedOnTheSamePassAndNothingIsPresented) {
  probe_.FinishOnUpdate = 2;
  probe_.FinishWith = 2;
  Create();
  Pass();
  ASSERT_EQ(Presented(), 1u);
  Pass();
  // The old scene is gone before the new one is built; the new one gets no Update or Render on this pass.
  EXPECT_EQ(probe_.Events,
            (std::vector<std::string>{"create 0", "update 0", "render 0", "update 0", "destroy 0", "create 2"}));
  EXPECT_EQ(Presented(), 1u);
  Pass();
  EXPECT_EQ(probe_.Events.back(), "render 2");
  EXPECT_EQ(Presented(), 2u);
  // Every pass is a frame to the observer, the switch included, numbered as the key recorder numbers them.
  const TCustomScene* second = form_->CurrentScene();
  ASSERT_EQ(observer_.Frames.size(), 3u);
  EXPECT_EQ(observer_.Frames[0].first, 0u);
  EXPECT_EQ(observer_.Frames[1], std::make_pair(1u, second));
  EXPECT_EQ(observer_.Frames[2], std::make_pair(2u, second));
}

TEST_F(MainFormTest, TheLastFinishBeforeTheSwitchWinsAndFinishingTheProgramEndsTheRun) {
  probe_.FinishOnUpdate = 1;
  probe_.FinishWith = 2;
  Create();
  form_->CurrentScene()->FinishProgram();  // earlier calls in the same frame
  form_->CurrentScene()->Finish(0);
  Pass();
  EXPECT_EQ(probe_.Events.back(), "create 2");
  EXPECT_FALSE(app_.Terminated());

  probe_.FinishOnUpdate = -1;
  form_->CurrentScene()->FinishProgram();
  Pass();
  EXPECT_TRUE(app_.Terminated());
  EXPECT_EQ(app_.ExitCode(), 0);
  EXPECT_EQ(probe_.Events.back(), "update 2") << "no scene follows and nothing more is drawn";
}

TEST_F(MainFormTest, ALostDeviceStillAdvancesTheSceneAndIsResetWhenPossible) {
  Create();
  Pass();
  ASSERT_EQ(Presented(), 1u);
  D3D9LoseDevice(form_->DG()->D3DDevice(), 2);
  keys_.SetKey(13, true);
  Pass();                                          // lost
  EXPECT_TRUE(form_->KeyStates()->IsPressed(13));  // keys are still sampled
  keys_.SetKey(13, false);
  Pass();  // lost
  Pass();  // not reset: the pass resets the device and draws nothing
  EXPECT_EQ(Count("update 0"), 4);
  EXPECT_EQ(Count("render 0"), 1);
  EXPECT_EQ(Presented(), 1u);
  Pass();  // back
  EXPECT_EQ(Count("render 0"), 2);
  EXPECT_EQ(Presented(), 2u);
}

TEST_F(MainFormTest, AnExceptionShowsOneBoxAndStopsTheLoop) {
  probe_.ThrowOnUpdate = 2;
  Create();
  Pass();
  Pass();
  ASSERT_EQ(host_.Boxes.size(), 1u);
  EXPECT_EQ(ToUTF8(host_.Boxes[0].Text), "テスト用の例外");
  EXPECT_EQ(ToUTF8(host_.Boxes[0].Caption), "エラー");
  EXPECT_EQ(host_.Boxes[0].Flags, 0x30u);
  EXPECT_FALSE(app_.OnIdle);
  EXPECT_TRUE(app_.Terminated());
  EXPECT_EQ(app_.ExitCode(), 1);
  EXPECT_EQ(Presented(), 1u);
}

TEST_F(MainFormTest, AnExceptionInRenderIsHandledTheSameWay) {
  probe_.ThrowInRender = true;
  Create();
  Pass();
  EXPECT_EQ(host_.Boxes.size(), 1u);
  EXPECT_EQ(app_.ExitCode(), 1);
}

TEST_F(MainFormTest, SwitchingToAMissingSceneReportsItAndLeavesNoScene) {
  probe_.FinishOnUpdate = 1;
  probe_.FinishWith = 1;  // this test table has no scene 1
  Create();
  Pass();
  ASSERT_EQ(host_.Boxes.size(), 1u);
  EXPECT_NE(host_.Boxes[0].Text.find("scene 1 is not available"), std::string::npos);
  EXPECT_EQ(form_->CurrentScene(), nullptr);
  EXPECT_EQ(app_.ExitCode(), 1);
  // The failed frame is still reported, with no scene.
  EXPECT_EQ(observer_.Frames, (std::vector<std::pair<uint32_t, const TCustomScene*>>{{0u, nullptr}}));
  form_.reset();  // FormDestroy has no scene to free
  EXPECT_EQ(probe_.Events.back(), "destroy 0");
}

TEST_F(MainFormTest, TheMessageLoopRunsFramesUntilTheErrorAndShowsNoSecondBox) {
  probe_.ThrowOnUpdate = 5;
  Create();
  struct TCountingPump : TMessagePump {
    void ProcessMessages(TApplication&) override { ++Passes; }
    void WaitMessage() override { ++Waits; }
    int Passes = 0, Waits = 0;
  } pump;
  RunMessageLoop(app_, pump, host_);
  EXPECT_EQ(Count("update 0"), 5);
  EXPECT_EQ(host_.Boxes.size(), 1u);
  EXPECT_EQ(pump.Passes, 5);
  EXPECT_EQ(app_.ExitCode(), 1);
}

TEST_F(MainFormTest, FormDestroyFreesEverythingAndRestoresCursorAndTimer) {
  Create();
  Pass();
  form_->FormDestroy();
  EXPECT_EQ(form_->KeyStates(), nullptr);
  EXPECT_EQ(form_->SpriteScene(), nullptr);
  EXPECT_EQ(form_->CurrentScene(), nullptr);
  EXPECT_EQ(host_.Cursors, (std::vector<int>{crNone, crDefault}));
  EXPECT_EQ(clock_.PeriodRequests, (std::vector<int>{1, -1}));
  EXPECT_FALSE(app_.OnIdle);
  EXPECT_EQ(probe_.Events.back(), "destroy 0");
}

}  // namespace

namespace {

// A supervisor that swaps in scene 2 on the second pass and holds it on the third; its drawing comes after the
// scene's.
class TProbeSupervisor : public TSceneSupervisor {
 public:
  std::unique_ptr<TCustomScene> Replace(TCustomScene*, TSXScene* SpriteScene, TKeyStates* Keys) override {
    ++Passes;
    GProbe->Events.push_back("replace?");
    return Passes == 2 ? Make<2>(SpriteScene, Keys) : nullptr;
  }
  bool Holds() const override { return Passes == 3; }
  void RenderOver(TSXScene*) override { GProbe->Events.push_back("over"); }
  int Passes = 0;
};

TEST_F(MainFormTest, ASupervisorMakesTheFirstSceneSwapsAndHoldsScenesAndDrawsOverThem) {
  TProbeSupervisor supervisor;
  TMainFormEnvironment environment{app_, host_, window_, clock_, keys_, 7u, kProbeScenes};
  environment.Supervisor = &supervisor;
  environment.MakeFirstScene = [](TSXScene* SpriteScene, TKeyStates* Keys) { return Make<2>(SpriteScene, Keys); };
  form_ = std::make_unique<TMainForm>(environment);
  Pass();
  Pass();
  Pass();
  Pass();
  // The new scene is made before the old one goes, and runs that same pass; a held scene is drawn, not updated.
  EXPECT_EQ(probe_.Events,
            (std::vector<std::string>{"create 2", "replace?", "update 2", "render 2", "over", "replace?", "create 2",
                                      "destroy 2", "update 2", "render 2", "over", "replace?", "render 2", "over",
                                      "replace?", "update 2", "render 2", "over"}));
  EXPECT_EQ(Presented(), 4u);
}

}  // namespace
