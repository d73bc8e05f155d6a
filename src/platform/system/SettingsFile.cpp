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

std::string_view Trim(std::string_view Text) {
  const size_t first = Text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = Text.find_last_not_of(" \t\r");
  return Text.substr(first, last - first + 1);
}

bool IsComment(std::string_view Line) {
  Line = Trim(Line);
  return Line.empty() || Line[0] == '#' || Line[0] == ';';
}

// The name of a "[name]" line; none for any other line.
std::optional<std::string_view> SectionOf(std::string_view Line) {
  Line = Trim(Line);
  if (Line.size() < 2 || Line.front() != '[' || Line.back() != ']') return std::nullopt;
  return Trim(Line.substr(1, Line.size() - 2));
}

bool SameName(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i) {
    const char x = A[i], y = B[i];
    if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y)) return false;
  }
  return true;
}

// Whether a "[name]" line opens the part of the file that section (the main part for "") reads.
bool OpensSection(std::string_view Name, std::string_view Section) {
  return SameName(Name, Section.empty() ? kSection : Section);
}

// The key of a "key=value" line; empty for a comment, a section line or a broken line.
std::string_view KeyOf(std::string_view Line) {
  if (IsComment(Line) || SectionOf(Line)) return {};
  const size_t equals = Line.find('=');
  return equals == std::string_view::npos ? std::string_view{} : Trim(Line.substr(0, equals));
}

// Text files have no control bytes but tab and line ends; random or binary data almost surely has some.
bool LooksLikeText(std::string_view Content) {
  for (const unsigned char c : Content) {
    if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) return false;
  }
  return true;
}

// The file a chain of symbolic links ends at (the path itself when it is none); a loop stops at the last link.
fs::path FollowLinks(fs::path Path) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code code;
    if (!fs::is_symlink(Path, code)) return Path;
    const fs::path target = fs::read_symlink(Path, code);
    if (code) return Path;
    Path = target.is_absolute() ? target : Path.parent_path() / target;
  }
  return Path;
}
}  // namespace

bool TSettingsFile::Load(const std::string& Path, std::string& Error) {
  lines_.clear();
  problems_.clear();
  byteOrderMark_ = crlf_ = readFailed_ = false;
  std::error_code code;
  const fs::file_status status = fs::status(Path, code);
  if (status.type() == fs::file_type::not_found) return true;
  readFailed_ = true;
  if (code) {
    Error = Path + ": " + code.message();
    return false;
  }
  if (status.type() != fs::file_type::regular) {
    Error = Path + ": not a regular file";
    return false;
  }
  const std::uintmax_t size = fs::file_size(Path, code);
  if (code) {
    Error = Path + ": " + code.message();
    return false;
  }
  if (size > kMaxFileSize) {
    Error = Path + ": larger than " + std::to_string(kMaxFileSize) + " bytes";
    return false;
  }
  std::ifstream in(Path, std::ios::binary);
  std::stringstream text;
  if (in) text << in.rdbuf();
  if (!in) {
    Error = Path + ": cannot be read";
    return false;
  }
  std::string_view content = text.view();
  if (content.starts_with(kByteOrderMark)) {
    byteOrderMark_ = true;
    content.remove_prefix(kByteOrderMark.size());
  }
  if (!LooksLikeText(content)) {
    Error = Path + ": not a text file";
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
      problems_.push_back(Path + ": line " + std::to_string(lines_.size() + 1) +
                          " is not key=value, a [section] or a comment; it is kept as it is");
    }
    lines_.emplace_back(line);
    start = end + 1;
  }
  return true;
}

bool TSettingsFile::Save(const std::string& Path, std::string& Error) const {
  if (readFailed_) {
    Error = Path + ": not saved, as it could not be read";
    return false;
  }
  std::error_code code;
  const fs::path target = FollowLinks(Path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), code);
  if (code) {
    Error = target.parent_path().string() + ": " + code.message();
    return false;
  }
  const fs::path temporary = target.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (byteOrderMark_) out << kByteOrderMark;
    for (const std::string& line : lines_) out << line << (crlf_ ? "\r\n" : "\n");
    out.flush();
    if (!out) {
      Error = temporary.string() + ": cannot be written";
      fs::remove(temporary, code);
      return false;
    }
  }
  // The replacement keeps the permissions the player gave the file.
  const fs::file_status old = fs::status(target, code);
  if (!code && fs::exists(old)) fs::permissions(temporary, old.permissions(), code);
  fs::rename(temporary, target, code);
  if (code) {
    Error = target.string() + ": " + code.message();
    fs::remove(temporary, code);
    return false;
  }
  return true;
}

int TSettingsFile::Find(std::string_view Key, std::string_view Section) const {
  bool inside = Section.empty();  // lines before the first section line are the main part
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (const std::optional<std::string_view> name = SectionOf(lines_[i])) {
      inside = OpensSection(*name, Section);
    } else if (inside && KeyOf(lines_[i]) == Key) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

size_t TSettingsFile::InsertionPoint(std::string_view Section) {
  // After the last line that is not blank of the section's last part. For the main part that is its own
  // section when it has one, else the lines before the first section (the whole file when there is none).
  bool inside = Section.empty(), sawSection = false;
  size_t afterSection = 0, afterTop = 0;
  bool top = true;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (const std::optional<std::string_view> name = SectionOf(lines_[i])) {
      inside = OpensSection(*name, Section);
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
  if (Section.empty()) return afterTop;
  // A new section at the end, a blank line before it.
  if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
  lines_.push_back("[" + std::string(Section) + "]");
  return lines_.size();
}

std::optional<std::string> TSettingsFile::Get(std::string_view Key, std::string_view Section) const {
  const int index = Find(Key, Section);
  if (index < 0) return std::nullopt;
  const std::string_view line = lines_[index];
  return std::string(Trim(line.substr(line.find('=') + 1)));
}

bool TSettingsFile::GetBool(std::string_view Key, bool Fallback, std::string_view Section) const {
  const std::optional<std::string> value = Get(Key, Section);
  if (!value) return Fallback;
  for (const char* yes : {"1", "true", "yes", "on"}) {
    if (*value == yes) return true;
  }
  for (const char* no : {"0", "false", "no", "off"}) {
    if (*value == no) return false;
  }
  return Fallback;
}

int32_t TSettingsFile::GetInt(std::string_view Key, int32_t Fallback, int32_t Min, int32_t Max,
                              std::string_view Section) const {
  const std::optional<std::string> value = Get(Key, Section);
  if (!value) return Fallback;
  int32_t number = 0;
  const char* end = value->data() + value->size();
  const auto [stop, status] = std::from_chars(value->data(), end, number);
  if (status != std::errc{} || stop != end || number < Min || number > Max) return Fallback;
  return number;
}

void TSettingsFile::Set(std::string_view Key, std::string_view Value, std::string_view Section) {
  // A line break would end the value early and make the rest a broken line; another control byte would make the
  // file look binary and so unreadable next time. The value ends at the first of them.
  size_t end = 0;
  while (end < Value.size() && (static_cast<unsigned char>(Value[end]) >= 0x20 || Value[end] == '\t') &&
         Value[end] != 0x7F) {
    ++end;
  }
  Value = Value.substr(0, end);
  std::string line = std::string(Key) + "=" + std::string(Value);
  const int index = Find(Key, Section);
  if (index >= 0) {
    lines_[index] = std::move(line);
  } else {
    const size_t at = InsertionPoint(Section);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  }
}

void TSettingsFile::Remove(std::string_view Key) {
  const int index = Find(Key, {});
  if (index >= 0) lines_.erase(lines_.begin() + index);
}

std::string ConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/morvanth/";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/morvanth/";
  return "";
}
