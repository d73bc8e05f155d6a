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

std::ifstream OpenFileForReading(const std::string& Path) { return std::ifstream(Path, std::ios::binary); }

bool FileExists(const std::string& Path) {
  std::error_code ec;
  return fs::is_regular_file(Path, ec);
}

bool DirectoryExists(const std::string& Path) {
  std::error_code ec;
  return fs::is_directory(Path, ec);
}

std::vector<TDirEntry> ListDirectory(const std::string& Path) {
  std::vector<TDirEntry> entries;
  std::error_code ec;
  fs::directory_iterator it(Path, ec);
  if (ec) return entries;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::error_code typeError;
    entries.push_back({it->path().filename().string(), it->is_directory(typeError)});
  }
  return entries;
}

std::string DisplayName(const std::string& Path) { return ToCP932(Path); }
