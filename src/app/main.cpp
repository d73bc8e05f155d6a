// MORVANTH: the game in its SDL window.
#include <cstdio>
#include <exception>
#include <memory>

#include "Application.h"
#include "Clock.h"
#include "MessageLoop.h"
#include "SdlWindow.h"
#include "SkinSound.h"
#include "SoundOptions.h"
#include "StartUp.h"
#include "FileSystem.h"
#include "TextEncoding.h"
#include "UMainForm.h"
#include "VolumeKeys.h"

int main(int argc, char** argv) {
  const TSoundOptions soundOptions = ParseSoundOptions(argc, argv);
  if (!soundOptions.Error.empty()) {
    std::fprintf(stderr, "morvanth: %s\n", soundOptions.Error.c_str());
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

  // Sound is an extra: without an audio device the game plays silently.
  TSdlMixer mixer;
  if (!mixer.Ok()) std::fprintf(stderr, "morvanth: no sound: %s\n", mixer.Error().c_str());
  TSkinSound sound(mixer, [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
  sound.SetVolume(soundOptions.Volume);
  sound.SetMuted(soundOptions.Muted);
  if (mixer.Ok()) SetGameSound(&sound);
  TVolumeKeys keys(*window, sound);

  TApplication application;
  TSystemClock clock;
  try {
    TMainForm form(TMainFormEnvironment{application, *window, *window, clock, keys, {}});
    RunMessageLoop(application, *window, *window);
    SetGameSound(nullptr);
  } catch (const std::exception& e) {
    SetGameSound(nullptr);
    // A failure while the form is being created (the first scene, the device): the framework shows it.
    window->MessageBoxA(e.what(), Jp("エラー"), MB_ICONEXCLAMATION | MB_OK);
    return 1;
  }
  return application.ExitCode();
}
