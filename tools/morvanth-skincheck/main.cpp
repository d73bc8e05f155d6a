// morvanth-skincheck DIR [SKIN] [--json] [--strict] [--sheet OUT.png]: loads a skin's graphic and stage definitions
// exactly as the game does when a game starts (pictures included, on the headless software device) and prints them
// with the warnings for what loads but cannot work as meant, or prints the game's own error message and exits with
// status 1. --strict makes warnings fail too; --sheet draws the whole skin into one picture.
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

#include "ContactSheet.h"
#include "EnemyFlight.h"
#include "Exception.h"
#include "FileSystem.h"
#include "GraphicDefs.h"
#include "GraphicIds.h"
#include "HeadlessWindow.h"
#include "MessageText.h"
#include "RequiredIds.h"
#include "ShipFire.h"
#include "SkinFolders.h"
#include "SkinPlace.h"
#include "SkinReport.h"
#include "StageDefs.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"
#include "Version.h"
#include "WindowsFileNames.h"

namespace {

constexpr const char* kUsage =
    "usage: morvanth-skincheck [--json] [--strict] [--sheet OUT.png] DIR [SKIN]\n"
    "  DIR            the folder holding skin/, or skin/ itself\n"
    "  SKIN           the skin's folder name (default: the skin the game starts with)\n"
    "  --json         print the report as JSON\n"
    "  --strict       exit with status 1 when there are warnings\n"
    "  --sheet FILE   draw every graphic and every stage's timeline into the PNG picture FILE\n"
    "  --help         show this text\n"
    "  --version      show the version\n";

int Usage(const std::string& Error) {
  std::fprintf(stderr, "morvanth-skincheck: %s\n%s", Error.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  InitMessageLanguage(ProgramDirectory());
  bool json = false;
  bool strict = false;
  std::string sheet;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg == "--sheet") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return Usage("--sheet needs a file name");
      sheet = argv[++i];
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
    // The game's 800 x 600, or one band of the contact sheet: loading does not depend on it.
    const int32_t width = sheet.empty() ? 800 : kSheetWidth;
    const int32_t height = sheet.empty() ? 600 : kSheetBandHeight;
    THeadlessWindow window(width, height);
    TVUDader device(&window);
    device.SetDebugOption({});  // as shipped: no log, no halt
    device.Loaded();
    device.SetWindowMode(width, height, {}, 0, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE, 0);
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
    const TGraphicIds ids(*graphics);
    TFlightCache flights;
    const std::vector<TSkinWarning> warnings =
        FindSkinWarnings({*graphics, *stages, ids, flights, PlainShipVolleyInterval(*graphics)});
    if (!sheet.empty()) {
      const int32_t sheetHeight = WriteContactSheet(sheet, device, window.Capture(),
                                                    {result.SkinName, *graphics, *stages, ids, flights, warnings});
      if (!json) std::cout << "sheet " << sheet << ": " << kSheetWidth << " x " << sheetHeight << " pixels\n";
    }
    if (json) {
      WriteSkinJson(std::cout, result, *graphics, *stages, warnings);
    } else {
      WriteSkinSummary(std::cout, result, *graphics, *stages, warnings);
    }
    stages.reset();
    graphics.reset();
    if (strict && !warnings.empty()) return 1;
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", LocalizeMessage(e.Message()).c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
