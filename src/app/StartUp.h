// The start-up step of the program before any window exists: find the skin folders and the usable skins.
#pragma once
#include <string>

#include "SkinFolders.h"

struct TStartUpResult {
  bool Ok = false;
  std::string Message;  // CP932; set when not Ok
  std::string Folder;   // the skin folders that were searched, as paths (bytes)
};

// Runs the skin scan for the program folder and the folders searched after it. Fails with the
// "スキンフォルダが存在しません" message when none of them exists, and with "使用できるスキンが存在しません (folders)"
// when they hold no usable skin.
TStartUpResult StartUpSkins(const std::string& ProgramFolder, const TMoreSkinFolders& More = {});

// Makes the skin remembered from an earlier run the current one, when SkinNames still lists it (in any letter
// case); false, and the current skin unchanged, otherwise.
bool SelectRememberedSkin(const std::string& Name);

// The skins a run may start on, strongest first: one named on the command line, a replay's own (empty when
// there is none; ReplayFile names the replay in messages), the one remembered from an earlier run.
struct TStartSkins {
  std::string Named;
  std::string Replay;
  std::string ReplayFile;
  std::string Remembered;
};
// Makes the strongest of Skins that is given the current skin; with none given the scan's choice stands. A
// named or replayed skin that is not usable raises std::runtime_error; a remembered one that is gone is passed
// over.
void SelectStartSkin(const TStartSkins& Skins);
