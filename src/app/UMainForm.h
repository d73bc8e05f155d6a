// The main form: owns the graphics device component, the keyboard state, the sprite renderer and the current
// scene, and runs one frame per idle pass. Written against small interfaces (owner window, form services,
// clock, key source) so that the SDL window and the headless runner run the same code.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "Application.h"
#include "Clock.h"
#include "CustomScene.h"
#include "Field.h"
#include "FormHost.h"
#include "FrameObserver.h"
#include "WindowHost.h"

class TVUDader;
class TKeyStates;
class TKeySource;
class TSXScene;

struct TMainFormEnvironment {
  TApplication& Application;
  TFormHost& Host;
  TWindowHost& Window;  // the device's owner window; its client area starts at the stored 792 x 566
  TClock& Clock;
  TKeySource& KeySource;
  std::optional<uint32_t> RandomSeed;        // fixed seed (replays); otherwise seeded from the clock
  const TSceneClass* Scenes = SceneClasses;  // the scene table (tests put their own scenes here)
  uint8_t FirstScene = 0;                    // the title; replays may start elsewhere
  TFrameObserver* FrameObserver = nullptr;   // told of every frame (tests' state lines); none: nothing is told
};

class TMainForm {
 public:
  static constexpr int32_t kDesignClientWidth = 792, kDesignClientHeight = 566;
  static constexpr int32_t kClientWidth = kFieldWidth, kClientHeight = kFieldHeight;
  static constexpr uint32_t kFrameMilliseconds = 17;

  // Creates the device component as the form resource does (device at the stored client size), then runs
  // FormCreate. Exceptions from FormCreate (a failing first scene) propagate.
  explicit TMainForm(const TMainFormEnvironment& Environment);
  ~TMainForm();  // FormDestroy, then the device component
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  void FormCreate();
  void FormDestroy();
  // One frame; see the frame loop. Errors derived from Exception stop the loop and show the "エラー" box. The
  // frame observer hears of every pass, a failed one included.
  void ApplicationIdle(bool& Done);

  TVUDader* DG() const { return FDG.get(); }
  TKeyStates* KeyStates() const { return FKeyStates.get(); }
  TSXScene* SpriteScene() const { return FSpriteScene.get(); }
  TCustomScene* CurrentScene() const { return FCurrentScene.get(); }
  uint32_t LastTime = 0;

 private:
  void Frame(bool& Done);

  TMainFormEnvironment env_;
  std::unique_ptr<TVUDader> FDG;
  std::unique_ptr<TKeyStates> FKeyStates;
  std::unique_ptr<TSXScene> FSpriteScene;
  std::unique_ptr<TCustomScene> FCurrentScene;
  bool destroyed_ = false;
  uint32_t frames_ = 0;  // idle passes run, the number the frame observer is given
};
