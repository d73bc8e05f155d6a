#include "SkinPlace.h"

#include "WindowsFileNames.h"

std::string TSkinPlace::FindXmlFile(const std::string& Name) const {
  return FindFileIgnoringCase(SkinDir, "xml/" + Name);
}

std::string TSkinPlace::FindGraphicFolder() const { return FindFolderIgnoringCase(SkinDir, "graphic"); }

std::string TSkinPlace::FindPicture(const std::string& Name) const {
  if (Name.empty()) return "";
  std::string path = FindFileIgnoringCase(SkinDir, "graphic/" + Name);
  return path.empty() ? FindFileIgnoringCase(SystemSkinDir, "graphic/" + Name) : path;
}
