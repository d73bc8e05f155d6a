#include "SettingsFile.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// A settings file is a few lines; anything this large is not one.
constexpr std::uintmax_t kMaxFileSize = 64 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kSection = "morvanth";

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

// The name of a "[name]" line; none for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return Trim(line.substr(1, line.size() - 2));
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = a[i], y = b[i];
    if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y)) return false;
  }
  return true;
}

// Whether a "[name]" line opens the part of the file that section (the main part for "") reads.
bool OpensSection(std::string_view name, std::string_view section) {
  return SameName(name, section.empty() ? kSection : section);
}

// The key of a "key=value" line; empty for a comment, a section line or a broken line.
std::string_view KeyOf(std::string_view line) {
  if (IsComment(line) || SectionOf(line)) return {};
  const size_t equals = line.find('=');
  return equals == std::string_view::npos ? std::string_view{} : Trim(line.substr(0, equals));
}

// Text files have no control bytes but tab and line ends; random or binary data almost surely has some.
bool LooksLikeText(std::string_view content) {
  for (const unsigned char c : content) {
    if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) return false;
  }
  return true;
}

// The file a chain of symbolic links ends at (the path itself when it is none); a loop stops at the last link.
fs::path FollowLinks(fs::path path) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code code;
    if (!fs::is_symlink(path, code)) return path;
    const fs::path target = fs::read_symlink(path, code);
    if (code) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}
}  // namespace

bool TSettingsFile::Load(const std::string& path, std::string& error) {
  lines_.clear();
  problems_.clear();
  byteOrderMark_ = crlf_ = readFailed_ = false;
  std::error_code code;
  const fs::file_status status = fs::status(path, code);
  if (status.type() == fs::file_type::not_found) return true;
  readFailed_ = true;
  if (code) {
    error = path + ": " + code.message();
    return false;
  }
  if (status.type() != fs::file_type::regular) {
    error = path + ": not a regular file";
    return false;
  }
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
  if (in) text << in.rdbuf();
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  std::string_view content = text.view();
  if (content.starts_with(kByteOrderMark)) {
    byteOrderMark_ = true;
    content.remove_prefix(kByteOrderMark.size());
  }
  if (!LooksLikeText(content)) {
    error = path + ": not a text file";
    return false;
  }
  readFailed_ = false;
  const size_t firstBreak = content.find('\n');
  crlf_ = firstBreak != std::string_view::npos && firstBreak > 0 && content[firstBreak - 1] == '\r';
  for (size_t start = 0; start < content.size();) {
    size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    // Every carriage return ending a line goes: a stray one would not survive the line ending it is saved with.
    while (line.ends_with('\r')) line.remove_suffix(1);
    if (!IsComment(line) && !SectionOf(line) && KeyOf(line).empty()) {
      problems_.push_back(path + ": line " + std::to_string(lines_.size() + 1) +
                          " is not key=value, a [section] or a comment; it is kept as it is");
    }
    lines_.emplace_back(line);
    start = end + 1;
  }
  return true;
}

bool TSettingsFile::Save(const std::string& path, std::string& error) const {
  if (readFailed_) {
    error = path + ": not saved, as it could not be read";
    return false;
  }
  std::error_code code;
  const fs::path target = FollowLinks(path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), code);
  if (code) {
    error = target.parent_path().string() + ": " + code.message();
    return false;
  }
  const fs::path temporary = target.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (byteOrderMark_) out << kByteOrderMark;
    for (const std::string& line : lines_) out << line << (crlf_ ? "\r\n" : "\n");
    out.flush();
    if (!out) {
      error = temporary.string() + ": cannot be written";
      fs::remove(temporary, code);
      return false;
    }
  }
  // The replacement keeps the permissions the player gave the file.
  const fs::file_status old = fs::status(target, code);
  if (!code && fs::exists(old)) fs::permissions(temporary, old.permissions(), code);
  fs::rename(temporary, target, code);
  if (code) {
    error = target.string() + ": " + code.message();
    fs::remove(temporary, code);
    return false;
  }
  return true;
}

int TSettingsFile::Find(std::string_view key, std::string_view section) const {
  bool inside = section.empty();  // lines before the first section line are the main part
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (const std::optional<std::string_view> name = SectionOf(lines_[i])) {
      inside = OpensSection(*name, section);
    } else if (inside && KeyOf(lines_[i]) == key) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

size_t TSettingsFile::InsertionPoint(std::string_view section) {
  // After the last line that is not blank of the section's last part. For the main part that is its own
  // section when it has one, else the lines before the first section (the whole file when there is none).
  bool inside = section.empty(), sawSection = false;
  size_t afterSection = 0, afterTop = 0;
  bool top = true;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (const std::optional<std::string_view> name = SectionOf(lines_[i])) {
      inside = OpensSection(*name, section);
      top = false;
      if (inside) {
        sawSection = true;
        afterSection = i + 1;
      }
      continue;
    }
    if (Trim(lines_[i]).empty()) continue;
    if (top) afterTop = i + 1;
    if (inside && !top) afterSection = i + 1;
  }
  if (sawSection) return afterSection;
  if (section.empty()) return afterTop;
  // A new section at the end, a blank line before it.
  if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
  lines_.push_back("[" + std::string(section) + "]");
  return lines_.size();
}

std::optional<std::string> TSettingsFile::Get(std::string_view key, std::string_view section) const {
  const int index = Find(key, section);
  if (index < 0) return std::nullopt;
  const std::string_view line = lines_[index];
  return std::string(Trim(line.substr(line.find('=') + 1)));
}

bool TSettingsFile::GetBool(std::string_view key, bool fallback, std::string_view section) const {
  const std::optional<std::string> value = Get(key, section);
  if (!value) return fallback;
  for (const char* yes : {"1", "true", "yes", "on"}) {
    if (*value == yes) return true;
  }
  for (const char* no : {"0", "false", "no", "off"}) {
    if (*value == no) return false;
  }
  return fallback;
}

int32_t TSettingsFile::GetInt(std::string_view key, int32_t fallback, int32_t min, int32_t max,
                              std::string_view section) const {
  const std::optional<std::string> value = Get(key, section);
  if (!value) return fallback;
  int32_t number = 0;
  const char* end = value->data() + value->size();
  const auto [stop, status] = std::from_chars(value->data(), end, number);
  if (status != std::errc{} || stop != end || number < min || number > max) return fallback;
  return number;
}

void TSettingsFile::Set(std::string_view key, std::string_view value, std::string_view section) {
  // A line break would end the value early and make the rest a broken line; another control byte would make the
  // file look binary and so unreadable next time. The value ends at the first of them.
  size_t end = 0;
  while (end < value.size() && (static_cast<unsigned char>(value[end]) >= 0x20 || value[end] == '\t') &&
         value[end] != 0x7F) {
    ++end;
  }
  value = value.substr(0, end);
  std::string line = std::string(key) + "=" + std::string(value);
  const int index = Find(key, section);
  if (index >= 0) {
    lines_[index] = std::move(line);
  } else {
    const size_t at = InsertionPoint(section);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  }
}

void TSettingsFile::Remove(std::string_view key) {
  const int index = Find(key, {});
  if (index >= 0) lines_.erase(lines_.begin() + index);
}

std::string ConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/morvanth/";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/morvanth/";
  return "";
}
