#include "SkinFolders.h"

#include "DebugTrace.h"
#include "FileSystem.h"
#include "TextCase.h"
#include "TextEncoding.h"

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
  SkinRoot = ProgramDir + "skin/";
  SystemSkinDir = SkinRoot + "system/";
  SkinNames.Clear();
  ScanSkins();
}

bool IsSkinFolder(const std::string& name) {
  const std::string xml = WithDelimiter(SkinRoot + name) + "xml/";
  return FileExists(xml + "graphicdef.xml") && FileExists(xml + "stagedef.xml");
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

std::string SkinDir() { return WithDelimiter(SkinRoot + CurrentSkin); }
std::string SkinXmlDir() { return SkinDir() + "xml/"; }
std::string SkinGraphicDir() { return SkinDir() + "graphic/"; }
std::string SystemGraphicDir() { return SystemSkinDir + "graphic/"; }

TSkinPlace CurrentSkinPlace() { return TSkinPlace{SkinDir(), SystemSkinDir}; }

std::string FindGraphicFile(const std::string& name) {
  std::string path = SkinGraphicDir() + name;
  if (FileExists(path)) return path;
  path = SystemGraphicDir() + name;
  if (FileExists(path)) return path;
  return "";
}
