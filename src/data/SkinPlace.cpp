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

std::string TSkinPlace::FindSound(const std::string& Stem) const {
  if (Stem.empty()) return "";
  for (const std::string* dir : {&SkinDir, &SystemSkinDir}) {
    for (const char* extension : {".wav", ".ogg"}) {
      std::string path = FindFileIgnoringCase(*dir, "sound/" + Stem + extension);
      if (!path.empty()) return path;
    }
  }
  return "";
}

bool TSkinPlace::HasSounds() const {
  return !FindFolderIgnoringCase(SkinDir, "sound").empty() || !FindFolderIgnoringCase(SystemSkinDir, "sound").empty();
}
