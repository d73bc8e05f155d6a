// Finds the font file for a face name of the game. The Windows faces the game names are not
// installed on Linux and fontconfig knows no aliases for them, so they go through our own table of
// stand-ins first; every name then goes through fontconfig's best match.
#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

struct TResolvedFont {
  std::string File;       // empty when no font at all is available
  int Index = 0;          // face index inside the file
  std::string Family;     // UTF-8 family of the face found
  std::string Wanted;     // UTF-8 family asked of fontconfig (the stand-in or the name itself)
  bool Fallback = false;  // the wanted family is not installed; Family is fontconfig's substitute
};

class TFontResolver {
 public:
  // ConfigFile: a fontconfig configuration to use instead of the system's (tests use one without
  // fonts, as on a machine where none are installed).
  explicit TFontResolver(const std::string& ConfigFile = {});
  ~TFontResolver();
  TFontResolver(const TFontResolver&) = delete;
  TFontResolver& operator=(const TFontResolver&) = delete;

  // The resolver of the system's fontconfig configuration, shared by every text writer.
  static std::shared_ptr<TFontResolver> System();

  // FaceName in CP932. Answers are remembered per name and style.
  const TResolvedFont& Resolve(const std::string& FaceName, bool Bold, bool Italic);

  // True the first time it is asked for a face name: a substitution is reported once per run.
  bool FirstReport(const std::string& FaceName) { return reported_.insert(FaceName).second; }

  // The installed family standing in for a Windows face (UTF-8 name), or the name unchanged.
  static std::string StandIn(std::string_view Utf8Name);

 private:
  TResolvedFont Match(const std::string& FaceName, bool Bold, bool Italic);

  struct TConfig;
  std::unique_ptr<TConfig> config_;
  std::map<std::string, TResolvedFont> resolved_;  // key: style character + face name
  std::set<std::string> reported_;
};
