// Where the definition loaders find a skin: the skin's folder and the system skin's folder (the fallback
// for pictures), each with a trailing delimiter. The application shell knows both (the current skin and
// SystemSkinDir); the loaders take them as given.
//
// Skins are made on Windows: the names below a skin folder (its "xml" and "graphic" folders, the definition
// files, the picture names a definition gives) are found regardless of letter case and with '\' read as a
// separator (WindowsFileNames.h).
#pragma once
#include <string>

struct TSkinPlace {
  std::string SkinDir;
  std::string SystemSkinDir;

  std::string XmlDir() const { return SkinDir + "xml/"; }
  std::string GraphicDir() const { return SkinDir + "graphic/"; }
  std::string FallbackGraphicDir() const { return SystemSkinDir + "graphic/"; }

  // The skin's definition file of that name as found, or "" when it does not exist.
  std::string FindXmlFile(const std::string& Name) const;
  // The skin's picture folder as found, or "" when it does not exist.
  std::string FindGraphicFolder() const;
  // A picture in the skin's picture folder, else in the fallback picture folder, else "".
  std::string FindPicture(const std::string& Name) const;

  // Sounds are optional and fall back as pictures do: Stem + ".wav", else Stem + ".ogg", in the skin's "sound"
  // folder, else the same in the system skin's; "" when neither has one.
  std::string FindSound(const std::string& Stem) const;
  // Whether the skin or the system skin has a "sound" folder at all (a skin without one plays silently).
  bool HasSounds() const;
};
