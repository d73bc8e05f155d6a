#include "UMainForm.h"

#include "DebugLog.h"
#include "GameRandom.h"
#include "KeyStates.h"
#include "OptionsScreen.h"
#include "SXScene.h"
#include "SkinFolders.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"

TMainForm::TMainForm(const TMainFormEnvironment& Environment) : FEnv(Environment) {
  // What loading the form resource does: the component with its stored properties, then its Loaded step,
  // which creates a first device at the stored client size.
  FDG = std::make_unique<TVUDader>(&FEnv.Window);
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
  FEnv.Application.Title = "MORVANTH";
  FEnv.Host.SetCaption("MORVANTH");
  FEnv.Host.SetScreenCursor(crNone);
  SeedRandom(FEnv.RandomSeed ? *FEnv.RandomSeed : FEnv.Clock.timeGetTime());
  TWindowHost& window = FEnv.Window;
  window.SetWindowPos(window.Left(), window.Top(), window.WindowWidth() - window.ClientWidth() + kClientWidth,
                      window.WindowHeight() - window.ClientHeight() + kClientHeight);
  FDG->SetWindowMode(window.ClientWidth(), window.ClientHeight(), {}, 0, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE, 0);
  FKeyStates = std::make_unique<TKeyStates>(FEnv.KeySource);
  FSpriteScene = std::make_unique<TSXScene>(FDG.get(), "");
  FCurrentScene = FEnv.MakeFirstScene ? FEnv.MakeFirstScene(FSpriteScene.get(), FKeyStates.get())
                                      : CreateScene(FEnv.Scenes, FEnv.FirstScene, FSpriteScene.get(), FKeyStates.get());
  if (FEnv.Options != nullptr) FOptions = std::make_unique<TOptionsScreen>(FSpriteScene.get(), *FEnv.Options);
  FEnv.Clock.timeBeginPeriod(1);
  LastTime = FEnv.Clock.timeGetTime() - kFrameMilliseconds;
  FEnv.Application.OnIdle = [this](bool& Done) { ApplicationIdle(Done); };
}

void TMainForm::FormDestroy() {
  if (FDestroyed) return;
  FDestroyed = true;
  FEnv.Application.OnIdle = nullptr;
  FEnv.Host.SetScreenCursor(crDefault);
  FEnv.Clock.timeEndPeriod(1);
  FOptions.reset();
  FKeyStates.reset();
  FSpriteScene.reset();
  FCurrentScene.reset();
}

void TMainForm::ApplicationIdle(bool& Done) {
  try {
    Frame(Done);
  } catch (const Exception& e) {
    FEnv.Application.OnIdle = nullptr;
    if (FEnv.Host.MessageBoxA(e.Message(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK) == IDOK) {
      FEnv.Application.Terminate(1);
    }
  }
  if (FEnv.FrameObserver != nullptr) FEnv.FrameObserver->FrameDone(FFrames, FCurrentScene.get(), FOptions.get());
  ++FFrames;
}

void TMainForm::Frame(bool& Done) {
  const uint32_t now = FEnv.Clock.timeGetTime();
  // Early: rest a millisecond, then run the frame anyway. There is deliberately no return here: the game counts
  // time in frames and the presenter waits for the retrace, so skipping would only drop key samples.
  if (now - LastTime < kFrameMilliseconds) FEnv.Clock.Sleep(1);
  LastTime = now;
  Done = false;
  if (FOptions != nullptr && FOptions->Holding()) {
    // The game stands still under the options: neither its keys are sampled (a recording never sees these
    // frames) nor its scene updated. Only the drawing goes on.
    FOptions->Update();
    Draw();
    return;
  }
  FKeyStates->Update();
  TSceneSupervisor* supervisor = FEnv.Supervisor;
  if (supervisor != nullptr) {
    if (std::unique_ptr<TCustomScene> next =
            supervisor->Replace(FCurrentScene.get(), FSpriteScene.get(), FKeyStates.get())) {
      FCurrentScene = std::move(next);
    }
  }
  if (supervisor == nullptr || !supervisor->Holds()) FCurrentScene->Update();
  if (FCurrentScene->Finished()) {
    if (FCurrentScene->EndsProgram()) {
      FEnv.Application.Terminate(0);
      return;
    }
    const uint8_t next = FCurrentScene->NextScene();
    FCurrentScene.reset();
    FCurrentScene = CreateScene(FEnv.Scenes, next, FSpriteScene.get(), FKeyStates.get());
    return;
  }
  if (FOptions != nullptr) FOptions->Watch(FCurrentScene->OffersOptions());
  Draw();
}

void TMainForm::Draw() {
  IDirect3DDevice9* device = FDG->D3DDevice();
  const HRESULT level = device ? device->TestCooperativeLevel() : D3DERR_DEVICELOST;
  if (level == D3DERR_DEVICENOTRESET) {
    FDG->ResetDevice();
  } else if (level == D3D_OK) {
    device->BeginScene();
    FCurrentScene->Render();
    if (FEnv.Supervisor != nullptr) FEnv.Supervisor->RenderOver(FSpriteScene.get());
    if (FOptions != nullptr) FOptions->Render();
    FSpriteScene->Render(true);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
}
