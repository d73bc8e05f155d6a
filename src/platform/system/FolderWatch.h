// Changes under a folder, from Linux's inotify: a file of the kinds a skin is made of (XML and BMP) written,
// created, removed or renamed, in the folder or in any folder below it (folders that appear later included).
// Editors that save by writing a new file and renaming it over the old one are seen by that rename.
#pragma once
#include <map>
#include <string>

// What the skin watcher asks; tests answer it themselves.
class TFolderChanges {
 public:
  virtual ~TFolderChanges() = default;
  // Whether anything changed since the last call. Never waits.
  virtual bool Changed() = 0;
};

class TFolderWatch : public TFolderChanges {
 public:
  // Raises std::runtime_error naming Folder when it cannot be watched.
  explicit TFolderWatch(const std::string& Folder);
  ~TFolderWatch() override;
  TFolderWatch(const TFolderWatch&) = delete;
  TFolderWatch& operator=(const TFolderWatch&) = delete;

  bool Changed() override;

  const std::string& Folder() const { return folder_; }

 private:
  void WatchTree(const std::string& Folder);

  std::string folder_;
  int fd_ = -1;
  bool rootLost_ = false;
  std::map<int, std::string> folders_;  // watch descriptor to folder path
};
