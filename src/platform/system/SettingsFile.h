// A small settings file of "key=value" lines. Everything else a player may write is kept as it stands: blank
// lines, comments ('#' or ';'), section lines ("[morvanth]"), keys this program does not know, even a broken
// line (reported, never dropped). Saving changes only the values set. Paths here are the file system's own.
//
// The program's keys are those before the first section line and those in a "[morvanth]" section; keys of
// other sections belong to someone else and are never read or changed.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TSettingsFile {
 public:
  // Reads path. A missing file reads as an empty one. A file that cannot be read (not a regular file, no
  // permission, too large, binary) leaves the settings empty, says why in error (path included) and returns
  // false; Save then refuses, so the file is never overwritten. A UTF-8 byte-order mark is accepted and kept.
  bool Load(const std::string& Path, std::string& Error);
  // Writes every line to path: when path is a symbolic link, to the file it leads to, so the link stays. The
  // new text goes to a temporary file beside the target, then replaces it in one rename (a crash leaves the old
  // file). Creates the folder. False with the reason in error, also after a failed Load.
  bool Save(const std::string& Path, std::string& Error) const;

  // What Load found wrong without refusing the file: one text per broken line (path and line number).
  const std::vector<std::string>& Problems() const { return problems_; }

  // The value of key (spaces around key and value trimmed); none when absent.
  std::optional<std::string> Get(std::string_view Key) const;
  // A Boolean "0"/"1" (also "false"/"true", "no"/"yes", "off"/"on"); fallback when absent or not one of these.
  bool GetBool(std::string_view Key, bool Fallback) const;
  // A decimal integer within [min, max]; fallback when absent, not a number or out of range.
  int32_t GetInt(std::string_view Key, int32_t Fallback, int32_t Min, int32_t Max) const;

  // Replaces the value of key where it stands, or adds "key=value" at the end of the program's part of the
  // file. The value ends at a line break.
  void Set(std::string_view Key, std::string_view Value);
  void SetBool(std::string_view Key, bool Value) { Set(Key, Value ? "1" : "0"); }
  void SetInt(std::string_view Key, int32_t Value) { Set(Key, std::to_string(Value)); }

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  int Find(std::string_view Key) const;  // index of the key's line in the program's part, -1 when absent
  size_t InsertionPoint() const;         // where a new key of the program's goes

  std::vector<std::string> lines_;
  std::vector<std::string> problems_;
  bool byteOrderMark_ = false;
  bool crlf_ = false;  // the file ended its lines with "\r\n": new lines do too
  bool readFailed_ = false;
};

// The program's folder for its settings: $XDG_CONFIG_HOME/morvanth/ when that variable holds an absolute path,
// otherwise $HOME/.config/morvanth/ (trailing '/'); "" when neither is known.
std::string ConfigFolder();
