// MORVANTH: the game in its SDL window.
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "Application.h"
#include "Clock.h"
#include "MessageLoop.h"
#include "ReplayOptions.h"
#include "SdlWindow.h"
#include "StartUp.h"
#include "FileSystem.h"
#include "TextEncoding.h"
#include "UMainForm.h"

int main(int argc, char** argv) {
  TReplayOptions replayOptions;
  try {
    replayOptions = TakeReplayOptions(argc, argv);
    if (argc > 1) throw std::runtime_error(std::string("unknown option ") + argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanth: %s\nusage: morvanth [--record FILE] [--replay FILE]\n", e.what());
    return 1;
  }
  const TStartUpResult skins = StartUpSkins(ProgramDirectory());
  if (!skins.Ok) {
    std::fprintf(stderr, "morvanth: skin folder searched: %s\n", ToUTF8(skins.Folder).c_str());
    ShowMessageBox(skins.Message, "MORVANTH", MB_ICONEXCLAMATION | MB_OK);
    return 1;
  }

  std::unique_ptr<TSdlWindow> window;
  try {
    window = std::make_unique<TSdlWindow>(TMainForm::kDesignClientWidth, TMainForm::kDesignClientHeight);
  } catch (const EDisplayError& e) {
    std::fprintf(stderr, "morvanth: %s\n", e.what());
    return 1;
  }

  TApplication application;
  TSystemClock clock;
  std::unique_ptr<TReplaySession> replay;
  try {
    replay = std::make_unique<TReplaySession>(replayOptions, *window, application, clock);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanth: %s\n", e.what());
    return 1;
  }
  try {
    TMainForm form(TMainFormEnvironment{application, *window, *window, clock, replay->Keys(), replay->Seed()});
    RunMessageLoop(application, *window, *window);
  } catch (const std::exception& e) {
    // A failure while the form is being created (the first scene, the device): the framework shows it.
    window->MessageBoxA(e.what(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK);
    return 1;
  }
  return application.ExitCode();
}
