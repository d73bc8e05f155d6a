// morvanth-skincheck DIR [SKIN] [--json]: loads a skin's graphic and stage definitions exactly as the game
// does when a game starts (pictures included, on the headless software device) and prints them, or prints
// the game's own error message and exits with status 1.
//
// DIR is the folder holding "skin/" (or the "skin/" folder itself); SKIN defaults to the skin the game
// starts with ("morv", or the first usable skin when there is none of that name).
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Exception.h"
#include "HeadlessWindow.h"
#include "SkinFolders.h"
#include "SkinReport.h"
#include "TextEncoding.h"
#include "UDatabase.h"
#include "VUDader9.h"
#include "Version.h"
#include "WindowsFileNames.h"

namespace {

// Ids the game scene looks up right after loading the graphic definitions, in its order.
// The ids the game scene looks up; the first eight are the power-up meter's, which must be sprites.
const char* const kRequiredIds[] = {"txtspeed", "txtmissile", "txtdouble", "txtlaser",  "txtoption",
                                    "txtshield", "bgpowerup",  "bgpowerupselected", "shot", "laser",
                                    "explosion", "capsule",    "bullet",    "ship",     "option"};
constexpr int kMeterIdCount = 8;

constexpr const char* kUsage =
    "usage: morvanth-skincheck [--json] DIR [SKIN]\n"
    "  DIR        the folder holding skin/, or skin/ itself\n"
    "  SKIN       the skin's folder name (default: the skin the game starts with)\n"
    "  --json     print the report as JSON\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

int Usage(const std::string& error) {
  std::fprintf(stderr, "morvanth-skincheck: %s\n%s", error.c_str(), kUsage);
  return 2;
}

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// Without a SKIN argument the game's own choice: the skin folders scanned as at start-up.
std::string DefaultSkin(const std::filesystem::path& skinRoot) {
  SkinRoot = WithSlash(ToCP932(skinRoot.string()));
  SystemSkinDir = SkinRoot + "system/";
  CurrentSkin = kDefaultSkin;
  try {
    ScanSkins();
  } catch (const ESkinNotFound&) {
    // No skin folder: the check of the named folder below reports it.
  }
  return CurrentSkin;
}

}  // namespace

int main(int argc, char** argv) {
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

  std::filesystem::path dir(positional[0]);
  std::error_code ec;
  std::filesystem::path skinRoot = std::filesystem::is_directory(dir / "skin", ec) ? dir / "skin" : dir;
  TSkinCheckResult result;
  result.SkinName = positional.size() > 1 ? ToCP932(positional[1]) : DefaultSkin(skinRoot);
  TSkinPlace place;
  const std::string root = WithSlash(ToCP932(skinRoot.string()));
  place.SkinDir = FindFolderIgnoringCase(root, result.SkinName);
  if (place.SkinDir.empty()) place.SkinDir = root + result.SkinName + "/";
  place.SystemSkinDir = FindFolderIgnoringCase(root, "system");
  if (place.SystemSkinDir.empty()) place.SystemSkinDir = root + "system/";
  result.SkinDir = place.SkinDir;
  if (!std::filesystem::is_directory(ToUTF8(place.SkinDir), ec)) {
    std::fprintf(stderr, "%s\n", ToUTF8(Jp("スキンフォルダが存在しません") + " (" + place.SkinDir + ")").c_str());
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
      std::fprintf(stderr, "%s\n", ToUTF8(e.Message()).c_str());
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
    std::fprintf(stderr, "%s\n", ToUTF8(e.Message()).c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
