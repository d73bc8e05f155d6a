// File names as skins made on Windows write them: letter case does not matter and '\' separates folders.
// The names come from data files and folder names; the folders they are looked up in are real paths.
#pragma once
#include <string>

// The existing file that Relative names below Folder (CP932 paths; Folder with or without a trailing
// delimiter). '\' and '/' both separate folders; a name that does not exist as written matches an entry of
// its folder that differs from it only in letter case, the exact name winning when both exist. Returns
// Folder followed by the names as the file system spells them, or "" when nothing matches.
std::string FindFileIgnoringCase(const std::string& folder, const std::string& relative);

// The same for a folder; the result ends with a delimiter.
std::string FindFolderIgnoringCase(const std::string& folder, const std::string& relative);

// Whether two names are the same name for Windows: letters compared without regard to case (the Latin,
// full-width Latin, Greek and Cyrillic letters and Roman numerals code page 932 holds). UTF-8 in.
bool SameFileName(const std::string& utf8A, const std::string& utf8B);
