#include "FileSystem.h"

#include <filesystem>
#include <system_error>

#include "TextEncoding.h"

namespace fs = std::filesystem;

namespace {
fs::path NativePath(const std::string& cp932) { return fs::path(ToUTF8(cp932)); }
}  // namespace

std::string ProgramDirectory() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::current_path(ec) / "morvanth";
  std::string dir = ToCP932(exe.parent_path().string());
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::ifstream OpenFileForReading(const std::string& path) {
  return std::ifstream(NativePath(path), std::ios::binary);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(NativePath(path), ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(NativePath(path), ec);
}

std::vector<TDirEntry> ListDirectory(const std::string& path) {
  std::vector<TDirEntry> entries;
  std::error_code ec;
  fs::directory_iterator it(NativePath(path), ec);
  if (ec) return entries;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::error_code typeError;
    entries.push_back({ToCP932(it->path().filename().string()), it->is_directory(typeError)});
  }
  return entries;
}
