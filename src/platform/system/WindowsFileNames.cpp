#include "WindowsFileNames.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "TextEncoding.h"

namespace fs = std::filesystem;

namespace {

// Code points of UTF-8 text; a byte that starts no valid sequence stands for itself, apart from every
// character, so broken names only ever match themselves.
std::vector<char32_t> CodePoints(const std::string& Utf8) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < Utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(Utf8[i]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length != 0 && i + length <= Utf8.size();
    for (size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(Utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (!valid) {
      out.push_back(0x110000 + lead);
      ++i;
      continue;
    }
    out.push_back(c);
    i += length;
  }
  return out;
}

char32_t Folded(char32_t C) {
  if (C >= U'A' && C <= U'Z') return C + 32;
  if (C >= 0xFF21 && C <= 0xFF3A) return C + 32;  // full-width Latin
  if (C >= 0x0391 && C <= 0x03A9) return C + 32;  // Greek
  if (C >= 0x0410 && C <= 0x042F) return C + 32;  // Cyrillic
  if (C >= 0x0400 && C <= 0x040F) return C + 80;
  if (C >= 0x2160 && C <= 0x216F) return C + 16;  // Roman numerals
  return C;
}

enum class TKind { File, Folder };

bool IsKind(const fs::path& Path, TKind Kind) {
  std::error_code ec;
  return Kind == TKind::Folder ? fs::is_directory(Path, ec) : fs::is_regular_file(Path, ec);
}

// The entry of Folder that is Name as Windows reads it: the exact spelling when it exists, else the first
// (in byte order, so the answer does not depend on the listing order) that differs only in letter case.
std::optional<fs::path> MatchEntry(const fs::path& Folder, const std::string& Name, TKind Kind) {
  fs::path exact = Folder / Name;
  if (IsKind(exact, Kind)) return exact;
  std::optional<fs::path> best;
  std::error_code ec;
  fs::directory_iterator it(Folder, ec);
  if (ec) return best;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string entry = it->path().filename().string();
    if (!SameFileName(entry, Name) || !IsKind(it->path(), Kind)) continue;
    if (!best || entry < best->filename().string()) best = it->path();
  }
  return best;
}

// Relative in UTF-8 (or the file system's bytes); Folder as the file system gives it.
std::optional<fs::path> Find(const std::string& Folder, const std::string& Relative, TKind Kind) {
  std::vector<std::string> names;
  std::string name;
  for (char c : Relative + '/') {  // in UTF-8, '\' is never part of another character
    if (c != '/' && c != '\\') {
      name += c;
    } else if (!name.empty()) {
      names.push_back(name);
      name.clear();
    }
  }
  fs::path path(Folder);
  if (names.empty()) return IsKind(path, Kind) && Kind == TKind::Folder ? std::optional(path) : std::nullopt;
  for (size_t i = 0; i < names.size(); ++i) {
    std::optional<fs::path> next = MatchEntry(path, names[i], i + 1 < names.size() ? TKind::Folder : Kind);
    if (!next) return std::nullopt;
    path = *next;
  }
  return path;
}

}  // namespace

bool SameFileName(const std::string& Utf8A, const std::string& Utf8B) {
  if (Utf8A == Utf8B) return true;
  std::vector<char32_t> a = CodePoints(Utf8A);
  std::vector<char32_t> b = CodePoints(Utf8B);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Folded(a[i]) != Folded(b[i])) return false;
  }
  return true;
}

namespace {
std::string FolderResult(const std::optional<fs::path>& Found) {
  if (!Found) return "";
  std::string path = Found->string();
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}
}  // namespace

std::string FindFileIgnoringCase(const std::string& Folder, const std::string& Relative) {
  std::optional<fs::path> found = Find(Folder, ToUTF8(Relative), TKind::File);
  return found ? found->string() : std::string();
}

std::string FindFolderIgnoringCase(const std::string& Folder, const std::string& Relative) {
  return FolderResult(Find(Folder, ToUTF8(Relative), TKind::Folder));
}

std::string FindNamedFolder(const std::string& Folder, const std::string& Name) {
  // A '/' or '\' in a name given as bytes would reach another folder; such a name names nothing here.
  if (Name.empty() || Name.find_first_of("/\\") != std::string::npos || Name == "." || Name == "..") return "";
  return FolderResult(Find(Folder, Name, TKind::Folder));
}
