#include "UMainForm.h"

#include "DebugLog.h"
#include "GameRandom.h"
#include "KeyStates.h"
#include "SXScene.h"
#include "SkinFolders.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"

TMainForm::TMainForm(const TMainFormEnvironment& Environment) : env_(Environment) {
  // What loading the form resource does: the component with its stored properties, then its Loaded step,
  // which creates a first device at the stored client size.
  FDG = std::make_unique<TVUDader>(&env_.Window);
  FDG->UseREFDevice = false;
  FDG->UseSoftwareVertexProcessing = false;
  FDG->SetDebugOption(TDGDebugOption{});
  FDG->Loaded();
  FormCreate();
}

TMainForm::~TMainForm() {
  FormDestroy();
  FDG.reset();
}

void TMainForm::FormCreate() {
  env_.Application.Title = "MORVANTH";
  env_.Host.SetCaption("MORVANTH");
  env_.Host.SetScreenCursor(crNone);
  SeedRandom(env_.RandomSeed ? *env_.RandomSeed : env_.Clock.timeGetTime());
  TWindowHost& window = env_.Window;
  window.SetWindowPos(window.Left(), window.Top(), window.WindowWidth() - window.ClientWidth() + kClientWidth,
                      window.WindowHeight() - window.ClientHeight() + kClientHeight);
  FDG->SetWindowMode(window.ClientWidth(), window.ClientHeight(), {}, 0, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE, 0);
  FKeyStates = std::make_unique<TKeyStates>(env_.KeySource);
  FSpriteScene = std::make_unique<TSXScene>(FDG.get(), "");
  FCurrentScene = CreateScene(env_.Scenes, env_.FirstScene, FSpriteScene.get(), FKeyStates.get());
  env_.Clock.timeBeginPeriod(1);
  LastTime = env_.Clock.timeGetTime() - kFrameMilliseconds;
  env_.Application.OnIdle = [this](bool& Done) { ApplicationIdle(Done); };
}

void TMainForm::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  env_.Application.OnIdle = nullptr;
  env_.Host.SetScreenCursor(crDefault);
  env_.Clock.timeEndPeriod(1);
  FKeyStates.reset();
  FSpriteScene.reset();
  FCurrentScene.reset();
}

void TMainForm::ApplicationIdle(bool& Done) {
  try {
    Frame(Done);
  } catch (const Exception& e) {
    env_.Application.OnIdle = nullptr;
    if (env_.Host.MessageBoxA(e.Message(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK) == IDOK) {
      env_.Application.Terminate(1);
    }
  }
  if (env_.FrameObserver != nullptr) env_.FrameObserver->FrameDone(frames_, FCurrentScene.get());
  ++frames_;
}

void TMainForm::Frame(bool& Done) {
  const uint32_t now = env_.Clock.timeGetTime();
  // Early: rest a millisecond, then run the frame anyway. There is deliberately no return here: the game counts
  // time in frames and the presenter waits for the retrace, so skipping would only drop key samples.
  if (now - LastTime < kFrameMilliseconds) {
    env_.Clock.Sleep(1);
    Done = false;
  }
  LastTime = now;
  FKeyStates->Update();
  FCurrentScene->Update();
  if (FCurrentScene->Finished()) {
    if (FCurrentScene->EndsProgram()) {
      env_.Application.Terminate(0);
      Done = false;
      return;
    }
    const uint8_t next = FCurrentScene->NextScene();
    FCurrentScene.reset();
    FCurrentScene = CreateScene(env_.Scenes, next, FSpriteScene.get(), FKeyStates.get());
    Done = false;
    return;
  }
  IDirect3DDevice9* device = FDG->D3DDevice();
  const HRESULT level = device ? device->TestCooperativeLevel() : D3DERR_DEVICELOST;
  if (level == D3DERR_DEVICENOTRESET) {
    FDG->ResetDevice();
  } else if (level == D3D_OK) {
    device->BeginScene();
    FCurrentScene->Render();
    FSpriteScene->Render(true);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  Done = false;
}
