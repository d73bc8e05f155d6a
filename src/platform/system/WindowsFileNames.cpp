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
std::vector<char32_t> CodePoints(const std::string& utf8) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length != 0 && i + length <= utf8.size();
    for (size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
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

char32_t Folded(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;  // full-width Latin
  if (c >= 0x0391 && c <= 0x03A9) return c + 32;  // Greek
  if (c >= 0x0410 && c <= 0x042F) return c + 32;  // Cyrillic
  if (c >= 0x0400 && c <= 0x040F) return c + 80;
  if (c >= 0x2160 && c <= 0x216F) return c + 16;  // Roman numerals
  return c;
}

enum class TKind { kFile, kFolder };

bool IsKind(const fs::path& path, TKind kind) {
  std::error_code ec;
  return kind == TKind::kFolder ? fs::is_directory(path, ec) : fs::is_regular_file(path, ec);
}

// The entry of Folder that is Name as Windows reads it: the exact spelling when it exists, else the first
// (in byte order, so the answer does not depend on the listing order) that differs only in letter case.
std::optional<fs::path> MatchEntry(const fs::path& folder, const std::string& name, TKind kind) {
  fs::path exact = folder / name;
  if (IsKind(exact, kind)) return exact;
  std::optional<fs::path> best;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return best;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string entry = it->path().filename().string();
    if (!SameFileName(entry, name) || !IsKind(it->path(), kind)) continue;
    if (!best || entry < best->filename().string()) best = it->path();
  }
  return best;
}

// Relative in UTF-8 (or the file system's bytes); Folder as the file system gives it.
std::optional<fs::path> Find(const std::string& folder, const std::string& relative, TKind kind) {
  std::vector<std::string> names;
  std::string name;
  for (char c : relative + '/') {  // in UTF-8, '\' is never part of another character
    if (c != '/' && c != '\\') {
      name += c;
    } else if (!name.empty()) {
      names.push_back(name);
      name.clear();
    }
  }
  fs::path path(folder);
  if (names.empty()) return IsKind(path, kind) && kind == TKind::kFolder ? std::optional(path) : std::nullopt;
  for (size_t i = 0; i < names.size(); ++i) {
    std::optional<fs::path> next = MatchEntry(path, names[i], i + 1 < names.size() ? TKind::kFolder : kind);
    if (!next) return std::nullopt;
    path = *next;
  }
  return path;
}

}  // namespace

bool SameFileName(const std::string& utf8A, const std::string& utf8B) {
  if (utf8A == utf8B) return true;
  std::vector<char32_t> a = CodePoints(utf8A);
  std::vector<char32_t> b = CodePoints(utf8B);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Folded(a[i]) != Folded(b[i])) return false;
  }
  return true;
}

namespace {
std::string FolderResult(const std::optional<fs::path>& found) {
  if (!found) return "";
  std::string path = found->string();
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}
}  // namespace

std::string FindFileIgnoringCase(const std::string& folder, const std::string& relative) {
  std::optional<fs::path> found = Find(folder, ToUTF8(relative), TKind::kFile);
  return found ? found->string() : std::string();
}

std::string FindFolderIgnoringCase(const std::string& folder, const std::string& relative) {
  return FolderResult(Find(folder, ToUTF8(relative), TKind::kFolder));
}

std::string FindNamedFolder(const std::string& folder, const std::string& name) {
  // A '/' or '\' in a name given as bytes would reach another folder; such a name names nothing here.
  if (name.empty() || name.find_first_of("/\\") != std::string::npos || name == "." || name == "..") return "";
  return FolderResult(Find(folder, name, TKind::kFolder));
}
