// morvanth-skincheck DIR [SKIN] [--json]: loads a skin's graphic and stage definitions exactly as the game
// does when a game starts (pictures included, on the headless software device) and prints them, or prints
// the game's own error message and exits with status 1.
//
// DIR is the folder holding "skin/" (or the "skin/" folder itself), searched as the game searches its own folder:
// first, then the player's and the shared skin folders (SkinFolders.h). SKIN is found as the game finds it;
// it defaults to the skin the game starts with ("morv", or the first usable skin when there is none of that name).
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Exception.h"
#include "FileSystem.h"
#include "GraphicDefs.h"
#include "HeadlessWindow.h"
#include "MessageText.h"
#include "SkinFolders.h"
#include "SkinPlace.h"
#include "SkinReport.h"
#include "StageDefs.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"
#include "Version.h"
#include "WindowsFileNames.h"

namespace {

// Ids the game scene looks up right after loading the graphic definitions, in its order.
// The ids the game scene looks up; the first eight are the power-up meter's, which must be sprites.
const char* const kRequiredIds[] = {
    "txtspeed", "txtmissile", "txtdouble", "txtlaser", "txtoption", "txtshield", "bgpowerup", "bgpowerupselected",
    "shot",     "laser",      "explosion", "capsule",  "bullet",    "ship",      "option"};
constexpr int kMeterIdCount = 8;

constexpr const char* kUsage =
    "usage: morvanth-skincheck [--json] DIR [SKIN]\n"
    "  DIR        the folder holding skin/, or skin/ itself\n"
    "  SKIN       the skin's folder name (default: the skin the game starts with)\n"
    "  --json     print the report as JSON\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

int Usage(const std::string& Error) {
  std::fprintf(stderr, "morvanth-skincheck: %s\n%s", Error.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  InitMessageLanguage(ProgramDirectory());
  bool json = false;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--json") {
      json = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("morvanth-skincheck %s\n", kMorvanthVersion);
      return 0;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty()) return Usage("no folder given");
  if (positional.size() > 2) return Usage("unexpected argument " + positional[2]);

  // The skin search of the game itself, with DIR as the program's folder.
  const std::string dir = positional[0];
  CurrentSkin = kDefaultSkin;
  try {
    if (!FindFolderIgnoringCase(dir, "skin").empty()) {
      InitializeSkinFolders(dir, PlayerSkinFolders());
    } else {
      InitializeSkinRoots(dir, PlayerSkinFolders());
    }
  } catch (const ESkinNotFound&) {
    // No skin folder at all: the check of the named folder below reports it.
  }
  TSkinCheckResult result;
  result.SkinName = positional.size() > 1 ? positional[1] : CurrentSkin;
  TSkinPlace place{FindSkinFolder(result.SkinName), SystemSkinDir};
  result.SkinDir = place.SkinDir;
  std::error_code ec;
  if (!std::filesystem::is_directory(place.SkinDir, ec)) {
    std::fprintf(stderr, "%s (%s)\n", LocalizeMessage(Jp("スキンフォルダが存在しません")).c_str(),
                 place.SkinDir.c_str());
    return 1;
  }
  result.MapFile = place.FindPicture("map.bmp");

  try {
    THeadlessWindow window(800, 600);
    TVUDader device(&window);
    device.SetDebugOption({});  // as shipped: no log, no halt
    device.Loaded();
    device.SetWindowMode(800, 600, {}, 0, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE, 0);
    auto graphics = std::make_unique<TGraphicDefList>(&device);
    std::unique_ptr<TStageDefList> stages;
    try {
      result.GraphicDefsLoaded = graphics->Load(place);
      for (int i = 0; i < static_cast<int>(std::size(kRequiredIds)); ++i) {
        if (i < kMeterIdCount) {
          FindSprite(*graphics, kRequiredIds[i]);
        } else {
          graphics->Find(kRequiredIds[i]);
        }
      }
      stages = std::make_unique<TStageDefList>(graphics.get());
      result.StageDefsLoaded = stages->Reload(place);
    } catch (const Exception& e) {
      std::fprintf(stderr, "%s\n", LocalizeMessage(e.Message()).c_str());
      return 1;
    }
    if (json) {
      WriteSkinJson(std::cout, result, *graphics, *stages);
    } else {
      WriteSkinSummary(std::cout, result, *graphics, *stages);
    }
    stages.reset();
    graphics.reset();
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", LocalizeMessage(e.Message()).c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
