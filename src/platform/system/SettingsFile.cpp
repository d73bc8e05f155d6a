#include "SettingsFile.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {
// A settings file is a few lines; anything this large is not one.
constexpr std::uintmax_t kMaxFileSize = 64 * 1024;

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return line.empty() || line[0] == '#' || line[0] == ';';
}

// The key of a "key=value" line; empty for a comment (or a line with no key).
std::string_view KeyOf(std::string_view line) {
  if (IsComment(line)) return {};
  const size_t equals = line.find('=');
  return equals == std::string_view::npos ? std::string_view{} : Trim(line.substr(0, equals));
}
}  // namespace

bool TSettingsFile::Load(const std::string& path, std::string& error) {
  lines_.clear();
  namespace fs = std::filesystem;
  std::error_code code;
  if (!fs::exists(path, code)) return true;
  const std::uintmax_t size = fs::file_size(path, code);
  if (code) {
    error = path + ": " + code.message();
    return false;
  }
  if (size > kMaxFileSize) {
    error = path + ": larger than " + std::to_string(kMaxFileSize) + " bytes";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  const std::string content = text.str();
  if (content.find('\0') != std::string::npos) {
    error = path + ": not a text file";
    return false;
  }
  std::vector<std::string> lines;
  std::istringstream reader(content);
  for (std::string line; std::getline(reader, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!IsComment(line) && KeyOf(line).empty()) {
      error = path + ": line " + std::to_string(lines.size() + 1) + " is not key=value";
      return false;
    }
    lines.push_back(std::move(line));
  }
  lines_ = std::move(lines);
  return true;
}

bool TSettingsFile::Save(const std::string& path, std::string& error) const {
  namespace fs = std::filesystem;
  std::error_code code;
  const fs::path target(path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), code);
  if (code) {
    error = target.parent_path().string() + ": " + code.message();
    return false;
  }
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines_) out << line << '\n';
    out.flush();
    if (!out) {
      error = temporary + ": cannot be written";
      fs::remove(temporary, code);
      return false;
    }
  }
  fs::rename(temporary, target, code);
  if (code) {
    error = path + ": " + code.message();
    fs::remove(temporary, code);
    return false;
  }
  return true;
}

int TSettingsFile::Find(std::string_view key) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (KeyOf(lines_[i]) == key) return static_cast<int>(i);
  }
  return -1;
}

std::optional<std::string> TSettingsFile::Get(std::string_view key) const {
  const int index = Find(key);
  if (index < 0) return std::nullopt;
  const std::string_view line = lines_[index];
  return std::string(Trim(line.substr(line.find('=') + 1)));
}

bool TSettingsFile::GetBool(std::string_view key, bool fallback) const {
  const std::optional<std::string> value = Get(key);
  if (!value) return fallback;
  for (const char* yes : {"1", "true", "yes", "on"}) {
    if (*value == yes) return true;
  }
  for (const char* no : {"0", "false", "no", "off"}) {
    if (*value == no) return false;
  }
  return fallback;
}

int32_t TSettingsFile::GetInt(std::string_view key, int32_t fallback, int32_t min, int32_t max) const {
  const std::optional<std::string> value = Get(key);
  if (!value) return fallback;
  int32_t number = 0;
  const char* end = value->data() + value->size();
  const auto [stop, status] = std::from_chars(value->data(), end, number);
  if (status != std::errc{} || stop != end || number < min || number > max) return fallback;
  return number;
}

void TSettingsFile::Set(std::string_view key, std::string_view value) {
  // A line break would end the value early and make the rest a broken line.
  value = value.substr(0, value.find_first_of("\r\n"));
  std::string line = std::string(key) + "=" + std::string(value);
  const int index = Find(key);
  if (index >= 0) {
    lines_[index] = std::move(line);
  } else {
    lines_.push_back(std::move(line));
  }
}

std::string ConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/morvanth/";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/morvanth/";
  return "";
}
