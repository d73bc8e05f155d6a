#include "DataFolders.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr const char* kProgram = "morvanth/";

std::string WithSlash(std::string Path) {
  if (Path.back() != '/') Path += '/';
  return Path;
}
}  // namespace

TDataFolders ProgramDataFolders() {
  TDataFolders folders;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (dataHome != nullptr && dataHome[0] == '/') {
    folders.Home = WithSlash(dataHome) + kProgram;
  } else if (home != nullptr && home[0] == '/') {
    folders.Home = WithSlash(home) + ".local/share/" + kProgram;
  }
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  const std::string list = dirs != nullptr && dirs[0] != '\0' ? dirs : "/usr/local/share:/usr/share";
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(':', start), list.size());
    const std::string dir = list.substr(start, end - start);
    if (!dir.empty() && dir[0] == '/') folders.Shared.push_back(WithSlash(dir) + kProgram);
    start = end + 1;
  }
  return folders;
}
