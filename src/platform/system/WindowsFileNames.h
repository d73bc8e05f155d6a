// File names as skins made on Windows write them: letter case does not matter and '\' separates folders.
// The names are game text (CP932, from a skin's XML or the program's own literals); the folders they are looked
// up in are real paths (bytes, as the file system gives them), and so are the results.
#pragma once
#include <string>

// The existing file that Relative (CP932) names below Folder (a path, with or without a trailing delimiter).
// Relative is converted to UTF-8 to meet the file system, so a Shift_JIS name written on Windows finds the file. '\'
// and '/' both separate folders; a name that does not exist as written matches an entry of its folder that differs from
// it only in letter case, the exact name winning when both exist. Returns Folder followed by the names as the file
// system spells them, or "" when nothing matches.
std::string FindFileIgnoringCase(const std::string& Folder, const std::string& Relative);

// The same for a folder; the result ends with a delimiter.
std::string FindFolderIgnoringCase(const std::string& Folder, const std::string& Relative);

// The folder Name (one name as the file system spells names: bytes, not game text) in Folder, matched as
// above; the result ends with a delimiter, "" when there is none.
std::string FindNamedFolder(const std::string& Folder, const std::string& Name);

// Whether two names are the same name for Windows: letters compared without regard to case (the Latin,
// full-width Latin, Greek and Cyrillic letters and Roman numerals code page 932 holds). UTF-8 in.
bool SameFileName(const std::string& Utf8A, const std::string& Utf8B);
