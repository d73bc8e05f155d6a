#include "SkinFolders.h"

#include "DebugTrace.h"
#include "FileSystem.h"
#include "TextCase.h"
#include "TextEncoding.h"
#include "WindowsFileNames.h"

std::string ProgramDir;
std::string SkinRoot;
std::string SystemSkinDir;
TSkinNameList SkinNames;
std::string CurrentSkin = kDefaultSkin;

namespace {
constexpr char kDelimiter = '/';

std::string WithDelimiter(const std::string& path) {
  if (!path.empty() && path.back() == kDelimiter) return path;
  return path + kDelimiter;
}
}  // namespace

int TSkinNameList::IndexOf(const std::string& name) const {
  for (size_t i = 0; i < names_.size(); ++i) {
    if (SameText(names_[i], name)) return static_cast<int>(i);
  }
  return -1;
}

void InitializeSkinFolders(const std::string& programDir) {
  ProgramDir = WithDelimiter(programDir);
  SkinRoot = FindFolderIgnoringCase(ProgramDir, "skin");
  if (SkinRoot.empty()) SkinRoot = ProgramDir + "skin/";
  SystemSkinDir = FindFolderIgnoringCase(SkinRoot, "system");
  if (SystemSkinDir.empty()) SystemSkinDir = SkinRoot + "system/";
  SkinNames.Clear();
  ScanSkins();
}

bool IsSkinFolder(const std::string& name) {
  const std::string folder = WithDelimiter(SkinRoot + name);
  return !FindFileIgnoringCase(folder, "xml/graphicdef.xml").empty() &&
         !FindFileIgnoringCase(folder, "xml/stagedef.xml").empty();
}

void ScanSkins() {
  SkinNames.Clear();
  if (!DirectoryExists(SkinRoot)) throw ESkinNotFound(Jp("スキンフォルダが存在しません"));
  for (const TDirEntry& entry : ListDirectory(SkinRoot)) {
    if (!entry.IsDirectory) continue;
    if (entry.Name == "." || entry.Name == ".." || entry.Name == "system") continue;
    if (IsSkinFolder(entry.Name)) SkinNames.Add(entry.Name);
    DebugTrace(entry.Name);
  }
  if (SkinNames.IndexOf(CurrentSkin) < 0 && !SkinNames.Empty()) CurrentSkin = SkinNames[0];
}

// The current skin may be spelled in another letter case than its folder ("morv" for "MORV"), which
// names the same folder on Windows; paths take the folder's own spelling.
std::string SkinDir() {
  const int index = SkinNames.IndexOf(CurrentSkin);
  return WithDelimiter(SkinRoot + (index >= 0 ? SkinNames[index] : CurrentSkin));
}
std::string SkinXmlDir() { return SkinDir() + "xml/"; }
std::string SkinGraphicDir() { return SkinDir() + "graphic/"; }
std::string SystemGraphicDir() { return SystemSkinDir + "graphic/"; }

TSkinPlace CurrentSkinPlace() { return TSkinPlace{SkinDir(), SystemSkinDir}; }

std::string FindGraphicFile(const std::string& name) { return CurrentSkinPlace().FindPicture(name); }
