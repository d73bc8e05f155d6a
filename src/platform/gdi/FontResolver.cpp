#include "FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <strings.h>
#include <cstring>

#include "Exception.h"
#include "TextEncoding.h"

namespace {

struct TStandIn {
  const char* WindowsFace;
  const char* Family;
};

// Windows faces the game and its skins name, with the metric-compatible or look-alike family that
// fonts-ipafont-gothic and fonts-liberation install.
constexpr TStandIn kStandIns[] = {
    {"ＭＳ ゴシック", "IPAGothic"},     {"ＭＳ Ｐゴシック", "IPAPGothic"},       {"MS Gothic", "IPAGothic"},
    {"MS PGothic", "IPAPGothic"},       {"Times New Roman", "Liberation Serif"}, {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
};

bool HasFamily(FcPattern* Pattern, const std::string& Family) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(Pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    if (strcasecmp(reinterpret_cast<const char*>(value), Family.c_str()) == 0) return true;
  }
  return false;
}

}  // namespace

struct TFontResolver::TConfig {
  FcConfig* Config = nullptr;
};

TFontResolver::TFontResolver(const std::string& ConfigFile) : config_(std::make_unique<TConfig>()) {
  if (ConfigFile.empty()) {
    config_->Config = FcInitLoadConfigAndFonts();
  } else {
    config_->Config = FcConfigCreate();
    if (config_->Config &&
        (!FcConfigParseAndLoad(config_->Config, reinterpret_cast<const FcChar8*>(ConfigFile.c_str()), FcTrue) ||
         !FcConfigBuildFonts(config_->Config))) {
      FcConfigDestroy(config_->Config);
      config_->Config = nullptr;
    }
  }
  if (!config_->Config) {
    throw Exception(ToCP932("フォントの設定を読み込めません: " + (ConfigFile.empty() ? "fontconfig" : ConfigFile)));
  }
}

TFontResolver::~TFontResolver() { FcConfigDestroy(config_->Config); }

std::string TFontResolver::StandIn(std::string_view Utf8Name) {
  for (const TStandIn& s : kStandIns) {
    if (Utf8Name == s.WindowsFace) return s.Family;
  }
  return std::string(Utf8Name);
}

std::shared_ptr<TFontResolver> TFontResolver::System() {
  static const std::shared_ptr<TFontResolver> kSystem = std::make_shared<TFontResolver>();
  return kSystem;
}

const TResolvedFont& TFontResolver::Resolve(const std::string& FaceName, bool Bold, bool Italic) {
  std::string key(1, char('0' + (Bold ? 1 : 0) + (Italic ? 2 : 0)));
  key += FaceName;
  auto found = resolved_.find(key);
  if (found == resolved_.end()) found = resolved_.emplace(key, Match(FaceName, Bold, Italic)).first;
  return found->second;
}

TResolvedFont TFontResolver::Match(const std::string& FaceName, bool Bold, bool Italic) {
  TResolvedFont result;
  result.Wanted = StandIn(ToUTF8(FaceName));

  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return result;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(result.Wanted.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config_->Config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  FcResult matchResult = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config_->Config, pattern, &matchResult);
  FcPatternDestroy(pattern);
  result.Fallback = true;
  if (!match) return result;

  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file && *file) {
    result.File = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.Index = index;
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
      result.Family = reinterpret_cast<const char*>(family);
    }
    result.Fallback = !HasFamily(match, result.Wanted);
  }
  FcPatternDestroy(match);
  return result;
}
