// Where the skins are: the program's "skin/" folder, the usable skins in it, the current skin and the lookup
// of a picture with its fallback in the "system" skin. Set once at start-up, before the main window exists.
#pragma once
#include <string>
#include <vector>

#include "Exception.h"
#include "SkinPlace.h"

class ESkinNotFound : public Exception {
 public:
  using Exception::Exception;
};

// Skin folder names in enumeration order; lookups ignore letter case.
class TSkinNameList {
 public:
  void Clear() { names_.clear(); }
  void Add(const std::string& name) { names_.push_back(name); }
  int Count() const { return static_cast<int>(names_.size()); }
  bool Empty() const { return names_.empty(); }
  const std::string& operator[](int index) const { return names_[index]; }
  int IndexOf(const std::string& name) const;  // -1 when absent

 private:
  std::vector<std::string> names_;
};

extern std::string ProgramDir;     // folder of the program file, trailing delimiter
extern std::string SkinRoot;       // ProgramDir + "skin/", spelled as the folder is
extern std::string SystemSkinDir;  // SkinRoot + "system/", spelled as the folder is
extern TSkinNameList SkinNames;    // the usable skins
extern std::string CurrentSkin;    // the selected skin; "morv" until the scan or the title changes it

inline constexpr const char* kDefaultSkin = "morv";

// The start-up step: sets the folders from programDir and scans the skins. Raises ESkinNotFound when there is
// no "skin/" folder. An empty SkinNames afterwards means that no usable skin exists.
void InitializeSkinFolders(const std::string& programDir);

bool IsSkinFolder(const std::string& name);
void ScanSkins();

// SkinRoot + CurrentSkin with a trailing delimiter (in the skin folder's own letter case), and the folders
// below it.
std::string SkinDir();
std::string SkinXmlDir();
std::string SkinGraphicDir();
std::string SystemGraphicDir();

// The current skin and the system skin, as the definition loaders take them.
TSkinPlace CurrentSkinPlace();

// Full path of a picture in the current skin, else in the system skin, else "" (names as Windows reads them).
std::string FindGraphicFile(const std::string& name);
