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

std::string WithDelimiter(const std::string& Path) {
  if (!Path.empty() && Path.back() == kDelimiter) return Path;
  return Path + kDelimiter;
}

// The folder as found in its parent (a skin made on Windows may spell "Skin"), else as given.
std::string Spelled(const std::string& Parent, const std::string& Name) {
  const std::string found = FindFolderIgnoringCase(Parent, Name);
  return found.empty() ? WithDelimiter(Parent) + Name + kDelimiter : found;
}
}  // namespace

std::string TSkinNameList::FolderOf(int Index) const {
  const TEntry& entry = entries_[Index];
  return WithDelimiter(entry.Folder.empty() ? SkinRoot + entry.Name : entry.Folder);
}

int TSkinNameList::IndexOf(const std::string& Name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (SameFileName(entries_[i].Name, Name)) return static_cast<int>(i);
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

void InitializeSkinFolders(const std::string& ProgramFolder, const TMoreSkinFolders& More) {
  InitializeSkinRoots(Spelled(WithDelimiter(ProgramFolder), "skin"), More);
}

void InitializeSkinRoots(const std::string& Root, const TMoreSkinFolders& More) {
  SkinRoot = WithDelimiter(Root);
  ProgramDir = SkinRoot.size() > 1 ? SkinRoot.substr(0, SkinRoot.rfind(kDelimiter, SkinRoot.size() - 2) + 1) : "";
  SkinRoots = {SkinRoot};
  PlayerRoot.clear();
  // A folder named twice (the player's folder given as the program's too) is searched once.
  auto addRoot = [](const std::string& Folder) {
    if (Folder.empty()) return std::string();
    std::string root = WithDelimiter(Folder);
    for (const std::string& known : SkinRoots) {
      if (known == root) return std::string();
    }
    SkinRoots.push_back(root);
    return root;
  };
  PlayerRoot = addRoot(More.Player);
  for (const std::string& shared : More.Shared) addRoot(shared);
  SystemSkinDir.clear();
  for (const std::string& root : SkinRoots) {
    SystemSkinDir = FindFolderIgnoringCase(root, "system");
    if (!SystemSkinDir.empty()) break;
  }
  if (SystemSkinDir.empty()) SystemSkinDir = SkinRoot + "system/";
  SkinNames.Clear();
  ScanSkins();
}

bool IsSkinFolder(const std::string& Folder) {
  return !FindFileIgnoringCase(Folder, "xml/graphicdef.xml").empty() &&
         !FindFileIgnoringCase(Folder, "xml/stagedef.xml").empty();
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

std::string FindSkinFolder(const std::string& Name) {
  const int index = SkinNames.IndexOf(Name);
  if (index >= 0) return SkinNames.FolderOf(index);
  for (const std::string& root : SkinRoots) {
    std::string folder = FindNamedFolder(root, Name);
    if (!folder.empty()) return folder;
  }
  return WithDelimiter(SkinRoot + Name);
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

std::string FindGraphicFile(const std::string& Name) { return CurrentSkinPlace().FindPicture(Name); }
