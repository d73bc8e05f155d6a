#include "StartUp.h"

#include "SkinFolders.h"

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
    result.Message = "no usable skin in " + SkinRoot +
                     " (a skin is a folder there holding xml/graphicdef.xml and xml/stagedef.xml)";
    return result;
  }
  result.Ok = true;
  return result;
}
