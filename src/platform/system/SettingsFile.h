// A small settings file of "key=value" lines (blank lines and lines starting with '#' or ';' are comments).
// Lines are kept as they were read, keys this program does not know included, so that saving changes only the
// values set. Paths here are the file system's own (UTF-8), not the game's CP932.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TSettingsFile {
 public:
  // Reads path. A missing file reads as an empty one. A file that cannot be read, is too large, holds a NUL byte
  // or has a line that is neither a comment nor "key=value" is ignored as a whole: the settings stay empty and
  // error says why (path and line). True when the file was read or is missing.
  bool Load(const std::string& path, std::string& error);
  // Writes every line to path (through a temporary file beside it, so a crash leaves the old file), creating
  // its folder. False with the reason in error.
  bool Save(const std::string& path, std::string& error) const;

  // The value of key (spaces around key and value trimmed); none when absent.
  std::optional<std::string> Get(std::string_view key) const;
  // A Boolean "0"/"1" (also "false"/"true", "no"/"yes", "off"/"on"); fallback when absent or not one of these.
  bool GetBool(std::string_view key, bool fallback) const;
  // A decimal integer within [min, max]; fallback when absent, not a number or out of range.
  int32_t GetInt(std::string_view key, int32_t fallback, int32_t min, int32_t max) const;

  // Replaces the value of key where it stands, or appends "key=value" when the file has no such key. The value
  // ends at a line break.
  void Set(std::string_view key, std::string_view value);
  void SetBool(std::string_view key, bool value) { Set(key, value ? "1" : "0"); }
  void SetInt(std::string_view key, int32_t value) { Set(key, std::to_string(value)); }

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  int Find(std::string_view key) const;  // index of the key's line, -1 when absent

  std::vector<std::string> lines_;
};

// The program's folder for its settings: $XDG_CONFIG_HOME/morvanth/ when that variable holds an absolute path,
// otherwise $HOME/.config/morvanth/ (trailing '/'); "" when neither is known.
std::string ConfigFolder();
