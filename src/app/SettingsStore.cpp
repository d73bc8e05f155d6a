#include "SettingsStore.h"

#include <vector>

TSettingsStore::TSettingsStore(std::string Path, TReport Report) : path_(std::move(Path)), report_(std::move(Report)) {
  canSave_ = !path_.empty();
  std::string error;
  if (canSave_ && !file_.Load(path_, error)) {
    report_("settings not read, and not saved this session: " + error);
    canSave_ = false;
  }
  for (const std::string& problem : file_.Problems()) report_("settings: " + problem);
  std::vector<std::string> problems;
  loaded_ = saved_ = ReadGameSettings(file_, &problems);
  for (const std::string& problem : problems) report_("settings: " + path_ + ": " + problem);
}

void TSettingsStore::Save(const TGameSettings& Settings) {
  if (!canSave_ || Settings == saved_) return;
  WriteGameSettings(Settings, file_);
  std::string error;
  if (!file_.Save(path_, error)) {
    report_("settings not saved: " + error);
    return;
  }
  saved_ = Settings;
}
