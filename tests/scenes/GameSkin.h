// A small skin written by the tests for the game scene: every graphic id the game needs as an 8 x 8 sprite with
// an 8 x 8 hit area centred on its position (the explosion a long animation, so blasts can be counted), the
// stage script the test gives, and optionally a background picture. Installed as the only skin.
#pragma once
#include <string>

#include "../data/DataTestSupport.h"
#include "SceneHarness.h"
#include "SkinFolders.h"

namespace scenetest {

inline std::string Sprite(const std::string& Id, int Slot) {
  const std::string left = std::to_string(8 * Slot);
  const std::string right = std::to_string(8 * Slot + 8);
  return "<sprite id=\"" + Id + "\" filename=\"sprites.bmp\" blendmode=\"alpha\"><imagerect left=\"" + left +
         "\" top=\"0\" right=\"" + right +
         "\" bottom=\"8\"/><origin x=\"4\" y=\"4\"/>"
         "<hitarea left=\"-4\" top=\"-4\" right=\"4\" bottom=\"4\"/></sprite>\n";
}

// The graphic definitions of the fixture; Replace swaps one definition (by its id) for other text.
inline std::string GameGraphicDefs(const std::string& ReplacedId = "", const std::string& Replacement = "") {
  const char* ids[] = {"ship",     "option",    "shot",      "laser",      "bullet",
                       "capsule",  "bot",       "txtspeed",  "txtmissile", "txtdouble",
                       "txtlaser", "txtoption", "txtshield", "bgpowerup",  "bgpowerupselected",
                       "blast"};
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<graphicdef>\n";
  int slot = 0;
  for (const char* id : ids) xml += id == ReplacedId ? Replacement : Sprite(id, slot++ % 8);
  const std::string explosion =
      "<animation id=\"explosion\" maxframe=\"1000\" width=\"8\" height=\"8\"><origin x=\"4\" y=\"4\"/>"
      "<sprite ref=\"blast\" frame=\"0\"/></animation>\n";
  xml += ReplacedId == "explosion" ? Replacement : explosion;
  return xml + "</graphicdef>\n";
}

class TGameSkin {
 public:
  // Stages: the inner XML of <stagedef>.
  explicit TGameSkin(const std::string& Stages, const std::string& GraphicDefs = GameGraphicDefs(),
                     bool WithMap = true) {
    const std::filesystem::path skin = dir_.Path() / "skin";
    datatest::WriteFile(skin / "test/xml/graphicdef.xml", GraphicDefs);
    datatest::WriteFile(skin / "test/xml/stagedef.xml",
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<stagedef>" + Stages + "</stagedef>\n");
    datatest::WriteFile(skin / "test/graphic/sprites.bmp", datatest::MakeSolidBmp(64, 8, 0x80C0FF));
    std::filesystem::create_directories(skin / "system/graphic");
    if (WithMap) datatest::WriteFile(skin / "system/graphic/map.bmp", datatest::MakeSolidBmp(16, 16, 0x204060));
    InitializeSkinFolders(dir_.Dir());
    TSceneHarness::SetSkins({"test"}, "test");
  }
  ~TGameSkin() {
    ProgramDir = programDir_;
    SkinRoot = skinRoot_;
    SystemSkinDir = systemSkinDir_;
    TSceneHarness::SetSkins({}, kDefaultSkin);
  }

 private:
  // The folders as they were, put back afterwards.
  std::string programDir_ = ProgramDir, skinRoot_ = SkinRoot, systemSkinDir_ = SystemSkinDir;
  datatest::TTempDir dir_;
};

}  // namespace scenetest
