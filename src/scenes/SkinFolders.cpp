#include "SkinFolders.h"

#include "DataFolders.h"
#include "DebugTrace.h"
#include "FileSystem.h"
#include "TextEncoding.h"
#include "WindowsFileNames.h"

std::string ProgramDir;
std::string SkinRoot;
std::vector<std::string> SkinRoots;
std::string SystemSkinDir;
TSkinNameList SkinNames;
std::string CurrentSkin = kDefaultSkin;

namespace {
constexpr char kDelimiter = '/';

// The searched folder whose skins win over earlier findings of the same name; "" when none.
std::string PlayerRoot;

std::string WithDelimiter(const std::string& path) {
  if (!path.empty() && path.back() == kDelimiter) return path;
  return path + kDelimiter;
}

// The folder as found in its parent (a skin made on Windows may spell "Skin"), else as given.
std::string Spelled(const std::string& parent, const std::string& name) {
  const std::string found = FindFolderIgnoringCase(parent, name);
  return found.empty() ? WithDelimiter(parent) + name + kDelimiter : found;
}
}  // namespace

std::string TSkinNameList::FolderOf(int index) const {
  const TEntry& entry = entries_[index];
  return WithDelimiter(entry.Folder.empty() ? SkinRoot + entry.Name : entry.Folder);
}

int TSkinNameList::IndexOf(const std::string& name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (SameFileName(entries_[i].Name, name)) return static_cast<int>(i);
  }
  return -1;
}

TMoreSkinFolders PlayerSkinFolders() {
  const TDataFolders data = ProgramDataFolders();
  TMoreSkinFolders more;
  if (!data.Home.empty()) more.Player = data.Home + "skin/";
  for (const std::string& shared : data.Shared) more.Shared.push_back(shared + "skin/");
  return more;
}

void InitializeSkinFolders(const std::string& programDir, const TMoreSkinFolders& more) {
  InitializeSkinRoots(Spelled(WithDelimiter(programDir), "skin"), more);
}

void InitializeSkinRoots(const std::string& skinRoot, const TMoreSkinFolders& more) {
  SkinRoot = WithDelimiter(skinRoot);
  ProgramDir = SkinRoot.size() > 1 ? SkinRoot.substr(0, SkinRoot.rfind(kDelimiter, SkinRoot.size() - 2) + 1) : "";
  SkinRoots = {SkinRoot};
  PlayerRoot.clear();
  // A folder named twice (the player's folder given as the program's too) is searched once.
  auto addRoot = [](const std::string& folder) {
    if (folder.empty()) return std::string();
    std::string root = WithDelimiter(folder);
    for (const std::string& known : SkinRoots) {
      if (known == root) return std::string();
    }
    SkinRoots.push_back(root);
    return root;
  };
  PlayerRoot = addRoot(more.Player);
  for (const std::string& shared : more.Shared) addRoot(shared);
  SystemSkinDir.clear();
  for (const std::string& root : SkinRoots) {
    SystemSkinDir = FindFolderIgnoringCase(root, "system");
    if (!SystemSkinDir.empty()) break;
  }
  if (SystemSkinDir.empty()) SystemSkinDir = SkinRoot + "system/";
  SkinNames.Clear();
  ScanSkins();
}

bool IsSkinFolder(const std::string& folder) {
  return !FindFileIgnoringCase(folder, "xml/graphicdef.xml").empty() &&
         !FindFileIgnoringCase(folder, "xml/stagedef.xml").empty();
}

void ScanSkins() {
  SkinNames.Clear();
  bool anyRoot = false;
  for (const std::string& root : SkinRoots) {
    if (!DirectoryExists(root)) continue;
    anyRoot = true;
    for (const TDirEntry& entry : ListDirectory(root)) {
      if (!entry.IsDirectory) continue;
      if (entry.Name == "." || entry.Name == ".." || entry.Name == "system") continue;
      const std::string folder = root + entry.Name + kDelimiter;
      if (IsSkinFolder(folder)) {
        const int known = SkinNames.IndexOf(entry.Name);
        if (known < 0) {
          SkinNames.Add(entry.Name, folder);
        } else if (root == PlayerRoot) {
          SkinNames.SetFolder(known, folder);
        }
      }
      DebugTrace(entry.Name);
    }
  }
  if (!anyRoot) throw ESkinNotFound(Jp("スキンフォルダが存在しません"));
  if (SkinNames.IndexOf(CurrentSkin) < 0 && !SkinNames.Empty()) CurrentSkin = SkinNames[0];
}

std::string SearchedSkinFolders() {
  std::string text;
  for (const std::string& root : SkinRoots) text += (text.empty() ? "" : ", ") + root;
  return text;
}

std::string FindSkinFolder(const std::string& name) {
  const int index = SkinNames.IndexOf(name);
  if (index >= 0) return SkinNames.FolderOf(index);
  for (const std::string& root : SkinRoots) {
    std::string folder = FindNamedFolder(root, name);
    if (!folder.empty()) return folder;
  }
  return WithDelimiter(SkinRoot + name);
}

// The current skin may be spelled in another letter case than its folder ("morv" for "MORV"), which
// names the same folder on Windows; paths take the folder's own spelling.
std::string SkinDir() {
  const int index = SkinNames.IndexOf(CurrentSkin);
  return index >= 0 ? SkinNames.FolderOf(index) : WithDelimiter(SkinRoot + CurrentSkin);
}
std::string SkinXmlDir() { return SkinDir() + "xml/"; }
std::string SkinGraphicDir() { return SkinDir() + "graphic/"; }
std::string SystemGraphicDir() { return SystemSkinDir + "graphic/"; }

TSkinPlace CurrentSkinPlace() { return TSkinPlace{SkinDir(), SystemSkinDir}; }

std::string FindGraphicFile(const std::string& name) { return CurrentSkinPlace().FindPicture(name); }
