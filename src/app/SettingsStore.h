// The settings file of a session: read once at the start, written whenever the settings changed since, and
// never when it could not be read (the player's to mend).
#pragma once
#include <functional>
#include <string>

#include "GameSettings.h"
#include "SettingsFile.h"

class TSettingsStore {
 public:
  using TReport = std::function<void(const std::string& Line)>;

  // Reads Path ("" when the program has no settings folder: nothing is read or saved). Every problem of the
  // file goes to Report, one line each.
  TSettingsStore(std::string Path, TReport Report);

  // What the file held (the defaults where it held nothing).
  const TGameSettings& Loaded() const { return loaded_; }
  // Writes Settings into the file when they differ from what it holds; a failure goes to Report.
  void Save(const TGameSettings& Settings);

 private:
  std::string path_;
  TReport report_;
  TSettingsFile file_;
  bool canSave_ = false;
  TGameSettings loaded_, saved_;
};
