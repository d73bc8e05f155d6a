#include "DataFiles.h"

#include <filesystem>

#include "TextEncoding.h"

bool DataFileExists(const std::string& Path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(ToUTF8(Path)), ec);
}

bool DataFolderExists(const std::string& Path) {
  std::error_code ec;
  return std::filesystem::is_directory(std::filesystem::path(ToUTF8(Path)), ec);
}
