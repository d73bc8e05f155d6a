#include "StartUp.h"

#include "SkinFolders.h"
#include "TextEncoding.h"

TStartUpResult StartUpSkins(const std::string& programDir) {
  TStartUpResult result;
  try {
    InitializeSkinFolders(programDir);
  } catch (const ESkinNotFound& e) {
    result.Message = e.Message();
    result.Folder = SkinRoot;
    return result;
  }
  if (SkinNames.Empty()) {
    result.Folder = SkinRoot;
    result.Message = Jp("使用できるスキンが存在しません (") + SkinRoot + ")";
    return result;
  }
  result.Ok = true;
  return result;
}

bool SelectRememberedSkin(const std::string& name) {
  const int index = name.empty() ? -1 : SkinNames.IndexOf(name);
  if (index < 0) return false;
  CurrentSkin = SkinNames[index];
  return true;
}
