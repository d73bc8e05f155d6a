// File and folder queries of the game, over std::filesystem.
// Paths are bytes as the system gives them (UTF-8 in practice), never the game's CP932: a name such as "café"
// has no CP932 form and would no longer find its file. Game text that names a file (a picture named in a skin's
// Shift_JIS XML) becomes a path through WindowsFileNames.h; a path becomes game text only to be shown.
#pragma once
#include <fstream>
#include <string>
#include <vector>

// Folder of the running program file, with a trailing '/'.
std::string ProgramDirectory();

bool FileExists(const std::string& Path);
// Opens a file of the game (skin definitions, pictures, archives) for binary reading; test the stream.
std::ifstream OpenFileForReading(const std::string& Path);  // a regular file (or a link to one)
bool DirectoryExists(const std::string& Path);              // a folder (or a link to one)

// One entry of a folder listing: its name (bytes, as the file system spells it) and whether it is a folder.
struct TDirEntry {
  std::string Name;
  bool IsDirectory = false;
};

// The entries of a folder in the order the file system returns them; empty when it cannot be read.
std::vector<TDirEntry> ListDirectory(const std::string& Path);

// A path or file name as game text (CP932) for a message or the screen: what CP932 cannot hold shows as '?'.
// Only for showing: the result never finds the file again.
std::string DisplayName(const std::string& Path);
