// Where the definition loaders find a skin: the skin's folder and the system skin's folder (the fallback
// for pictures), each with a trailing delimiter. The application shell knows both (the current skin and
// SystemSkinDir); the loaders take them as given.
#pragma once
#include <string>

struct TSkinPlace {
  std::string SkinDir;
  std::string SystemSkinDir;

  std::string XmlDir() const { return SkinDir + "xml/"; }
  std::string GraphicDir() const { return SkinDir + "graphic/"; }
  std::string FallbackGraphicDir() const { return SystemSkinDir + "graphic/"; }
};
