#include "FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <strings.h>
#include <cstring>

#include "Exception.h"
#include "TextEncoding.h"

namespace {

struct TStandIn {
  const char* windowsFace;
  const char* family;
};

// Windows faces the game and its skins name, with the metric-compatible or look-alike family that
// fonts-ipafont-gothic and fonts-liberation install.
constexpr TStandIn StandIns[] = {
    {"ＭＳ ゴシック", "IPAGothic"},     {"ＭＳ Ｐゴシック", "IPAPGothic"},       {"MS Gothic", "IPAGothic"},
    {"MS PGothic", "IPAPGothic"},       {"Times New Roman", "Liberation Serif"}, {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
};

bool HasFamily(FcPattern* pattern, const std::string& family) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    if (strcasecmp(reinterpret_cast<const char*>(value), family.c_str()) == 0) return true;
  }
  return false;
}

}  // namespace

struct TFontResolver::TConfig {
  FcConfig* config = nullptr;
};

TFontResolver::TFontResolver(const std::string& configFile) : config_(std::make_unique<TConfig>()) {
  if (configFile.empty()) {
    config_->config = FcInitLoadConfigAndFonts();
  } else {
    config_->config = FcConfigCreate();
    if (config_->config &&
        (!FcConfigParseAndLoad(config_->config, reinterpret_cast<const FcChar8*>(configFile.c_str()), FcTrue) ||
         !FcConfigBuildFonts(config_->config))) {
      FcConfigDestroy(config_->config);
      config_->config = nullptr;
    }
  }
  if (!config_->config) {
    throw Exception(ToCP932("フォントの設定を読み込めません: " + (configFile.empty() ? "fontconfig" : configFile)));
  }
}

TFontResolver::~TFontResolver() { FcConfigDestroy(config_->config); }

std::string TFontResolver::StandIn(std::string_view utf8Name) {
  for (const TStandIn& s : StandIns) {
    if (utf8Name == s.windowsFace) return s.family;
  }
  return std::string(utf8Name);
}

std::shared_ptr<TFontResolver> TFontResolver::System() {
  static const std::shared_ptr<TFontResolver> system = std::make_shared<TFontResolver>();
  return system;
}

const TResolvedFont& TFontResolver::Resolve(const std::string& faceName, bool bold, bool italic) {
  std::string key(1, char('0' + (bold ? 1 : 0) + (italic ? 2 : 0)));
  key += faceName;
  auto found = resolved_.find(key);
  if (found == resolved_.end()) found = resolved_.emplace(key, Match(faceName, bold, italic)).first;
  return found->second;
}

TResolvedFont TFontResolver::Match(const std::string& faceName, bool bold, bool italic) {
  TResolvedFont result;
  result.Wanted = StandIn(ToUTF8(faceName));

  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return result;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(result.Wanted.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config_->config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  FcResult matchResult = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config_->config, pattern, &matchResult);
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
