// A small settings file of "key=value" lines. Everything else a player may write is kept as it stands: blank
// lines, comments ('#' or ';'), section lines ("[morvanth]"), keys this program does not know, even a broken
// line (reported, never dropped). Saving changes only the values set. Paths here are the file system's own.
//
// The program's main keys are those before the first section line and those in a "[morvanth]" section. It has
// named sections of its own too ("[keys]"), asked for by name; keys of any other section belong to someone else
// and are never read or changed. Section names are compared in any letter case.
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

  // Every call takes the section of the key last: "" (the default) for the main keys, else a section's name.

  // The value of key (spaces around key and value trimmed); none when absent.
  std::optional<std::string> Get(std::string_view Key, std::string_view Section = {}) const;
  // A Boolean "0"/"1" (also "false"/"true", "no"/"yes", "off"/"on"); fallback when absent or not one of these.
  bool GetBool(std::string_view Key, bool Fallback, std::string_view Section = {}) const;
  // A decimal integer within [min, max]; fallback when absent, not a number or out of range.
  int32_t GetInt(std::string_view Key, int32_t Fallback, int32_t Min, int32_t Max, std::string_view Section = {}) const;

  // Replaces the value of key where it stands, or adds "key=value" at the end of the program's part of the
  // file (a named section that does not exist yet is added at the end of the file). The value ends at a line
  // break.
  void Set(std::string_view Key, std::string_view Value, std::string_view Section = {});
  void SetBool(std::string_view Key, bool Value, std::string_view Section = {}) {
    Set(Key, Value ? "1" : "0", Section);
  }
  void SetInt(std::string_view Key, int32_t Value, std::string_view Section = {}) {
    Set(Key, std::to_string(Value), Section);
  }
  // Takes the key's line out of the program's part; nothing when it is absent.
  void Remove(std::string_view Key);

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  // Index of the key's line in the section (the main part for ""), -1 when absent.
  int Find(std::string_view Key, std::string_view Section) const;
  // Where a new key of the section goes; a named section that has no line yet is added first.
  size_t InsertionPoint(std::string_view Section);

  std::vector<std::string> lines_;
  std::vector<std::string> problems_;
  bool byteOrderMark_ = false;
  bool crlf_ = false;  // the file ended its lines with "\r\n": new lines do too
  bool readFailed_ = false;
};

// The program's folder for its settings: $XDG_CONFIG_HOME/morvanth/ when that variable holds an absolute path,
// otherwise $HOME/.config/morvanth/ (trailing '/'); "" when neither is known.
std::string ConfigFolder();
