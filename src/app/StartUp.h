// The start-up step of the program before any window exists: find the skin folders and the usable skins.
#pragma once
#include <string>

struct TStartUpResult {
  bool Ok = false;
  std::string Message;  // CP932; set when not Ok
  std::string Folder;   // CP932; the skin folder that was searched
};

// Runs the skin scan for the program folder. Fails with the "スキンフォルダが存在しません" message when there is no
// "skin/" folder, and with "使用できるスキンが存在しません (folder)" when it holds no usable skin.
TStartUpResult StartUpSkins(const std::string& programDir);

// Makes the skin remembered from an earlier run the current one, when SkinNames still lists it (in any letter
// case); false, and the current skin unchanged, otherwise.
bool SelectRememberedSkin(const std::string& name);
