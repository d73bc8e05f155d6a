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
TStartUpResult StartUpSkins(const std::string& ProgramDir, const TMoreSkinFolders& More = {});

// Makes the skin remembered from an earlier run the current one, when SkinNames still lists it (in any letter
// case); false, and the current skin unchanged, otherwise.
bool SelectRememberedSkin(const std::string& Name);
