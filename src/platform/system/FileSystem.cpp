#include "FileSystem.h"

#include <filesystem>
#include <system_error>

#include "TextEncoding.h"

namespace fs = std::filesystem;

std::string ProgramDirectory() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::current_path(ec) / "morvanth";
  std::string dir = exe.parent_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::ifstream OpenFileForReading(const std::string& path) { return std::ifstream(path, std::ios::binary); }

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

std::vector<TDirEntry> ListDirectory(const std::string& path) {
  std::vector<TDirEntry> entries;
  std::error_code ec;
  fs::directory_iterator it(path, ec);
  if (ec) return entries;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::error_code typeError;
    entries.push_back({it->path().filename().string(), it->is_directory(typeError)});
  }
  return entries;
}

std::string DisplayName(const std::string& path) { return ToCP932(path); }
