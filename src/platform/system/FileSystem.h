// File and folder queries of the game, over std::filesystem.
// Paths are the game's CP932 strings; they become UTF-8 only here, at the file-system edge.
#pragma once
#include <fstream>
#include <string>
#include <vector>

// Folder of the running program file, with a trailing '/'.
std::string ProgramDirectory();

bool FileExists(const std::string& path);
// Opens a file of the game (skin definitions, pictures, archives) for binary reading; test the stream.
std::ifstream OpenFileForReading(const std::string& path);       // a regular file (or a link to one)
bool DirectoryExists(const std::string& path);  // a folder (or a link to one)

// One entry of a folder listing: its name (CP932) and whether it is a folder.
struct TDirEntry {
  std::string Name;
  bool IsDirectory = false;
};

// The entries of a folder in the order the file system returns them; empty when it cannot be read.
std::vector<TDirEntry> ListDirectory(const std::string& path);
