#include "StartUp.h"

#include "FileSystem.h"
#include "SkinFolders.h"
#include "TextEncoding.h"

TStartUpResult StartUpSkins(const std::string& ProgramFolder, const TMoreSkinFolders& More) {
  TStartUpResult result;
  try {
    InitializeSkinFolders(ProgramFolder, More);
  } catch (const ESkinNotFound& e) {
    result.Message = e.Message();
    result.Folder = SearchedSkinFolders();
    return result;
  }
  if (SkinNames.Empty()) {
    result.Folder = SearchedSkinFolders();
    result.Message = Jp("使用できるスキンが存在しません (") + DisplayName(result.Folder) + ")";
    return result;
  }
  result.Ok = true;
  return result;
}

bool SelectRememberedSkin(const std::string& Name) {
  const int index = Name.empty() ? -1 : SkinNames.IndexOf(Name);
  if (index < 0) return false;
  CurrentSkin = SkinNames[index];
  return true;
}
