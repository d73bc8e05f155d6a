// Where the skins are: the folders searched for skins, the usable skins in them, the current skin and the lookup
// of a picture with its fallback in the "system" skin. Set once at start-up, before the main window exists.
//
// Skins are searched beside the program (the bundled ones, SkinRoot), then in the player's folder
// ($XDG_DATA_HOME/morvanth/skin), then in morvanth/skin under each of $XDG_DATA_DIRS. Each name is listed once,
// at the place of its first finding. For a name found twice, the player's folder wins over every other (so a
// player's copy of a bundled skin is the one played); otherwise the first finding wins. The fallback skin
// "system" is never listed and always comes from the first folder holding one, the bundled folder before all.
//
// Folder and skin names are bytes as the file system spells them (not game text); the title converts a name
// for drawing only.
#pragma once
#include <string>
#include <vector>

#include "Exception.h"
#include "SkinPlace.h"

class ESkinNotFound : public Exception {
 public:
  using Exception::Exception;
};

// Skin folder names in enumeration order, each with the folder it was found in; lookups ignore letter case.
class TSkinNameList {
 public:
  void Clear() { entries_.clear(); }
  // Folder "" stands for SkinRoot + Name.
  void Add(const std::string& Name, const std::string& Folder = "") { entries_.push_back({Name, Folder}); }
  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  const std::string& operator[](int Index) const { return entries_[Index].Name; }
  std::string FolderOf(int Index) const;  // with a trailing delimiter
  void SetFolder(int Index, const std::string& Folder) { entries_[Index].Folder = Folder; }
  int IndexOf(const std::string& Name) const;  // -1 when absent

 private:
  struct TEntry {
    std::string Name, Folder;
  };
  std::vector<TEntry> entries_;
};

// The skin folders searched beyond the bundled one (each with a trailing delimiter; "" or empty when none).
struct TMoreSkinFolders {
  std::string Player;               // its skins win over the others of the same name
  std::vector<std::string> Shared;  // searched after the player's, in order
};
// $XDG_DATA_HOME/morvanth/skin/ and morvanth/skin/ under each of $XDG_DATA_DIRS.
TMoreSkinFolders PlayerSkinFolders();

extern std::string ProgramDir;              // folder of the program file, trailing delimiter
extern std::string SkinRoot;                // ProgramDir + "skin/", spelled as the folder is: the bundled skins
extern std::vector<std::string> SkinRoots;  // every folder searched, in search order, SkinRoot first
extern std::string SystemSkinDir;           // the fallback skin's folder, spelled as it is
extern TSkinNameList SkinNames;             // the usable skins
extern std::string CurrentSkin;             // the selected skin; "morv" until the scan or the title changes it

inline constexpr const char* kDefaultSkin = "morv";

// The start-up step: sets the folders from ProgramFolder (and the folders searched after it) and scans the skins.
// Raises ESkinNotFound when none of the folders exists. An empty SkinNames afterwards means that no usable skin
// exists.
void InitializeSkinFolders(const std::string& ProgramFolder, const TMoreSkinFolders& More = {});
// The same with the bundled skin folder itself given (ProgramDir is then its parent).
void InitializeSkinRoots(const std::string& Root, const TMoreSkinFolders& More = {});

// Whether folder (a path) holds both definition files.
bool IsSkinFolder(const std::string& Folder);
void ScanSkins();

// The searched folders for a message, separated by ", ".
std::string SearchedSkinFolders();
// The folder of the skin Name: the listed skin's, else the first searched folder holding a folder of that name
// (a skin that is not usable, for a tool to report why), else SkinRoot + Name. Trailing delimiter.
std::string FindSkinFolder(const std::string& Name);

// The current skin's folder with a trailing delimiter (in the folder's own letter case), and the folders below
// it.
std::string SkinDir();
std::string SkinXmlDir();
std::string SkinGraphicDir();
std::string SystemGraphicDir();

// The current skin and the system skin, as the definition loaders take them.
TSkinPlace CurrentSkinPlace();

// Full path of a picture in the current skin, else in the system skin, else "" (names as Windows reads them).
std::string FindGraphicFile(const std::string& Name);
