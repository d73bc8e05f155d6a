#include "FolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace {
constexpr uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                   IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// The files a skin is made of, whatever the letter case. Editors' swap, backup and temporary files are not:
// a swap file written every few seconds would otherwise restart the stage each time.
bool IsSkinFile(const char* Name) {
  std::string lower(Name);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char C) { return std::tolower(C); });
  return lower.ends_with(".xml") || lower.ends_with(".bmp");
}
}  // namespace

TFolderWatch::TFolderWatch(const std::string& Folder) : folder_(Folder) {
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) throw std::runtime_error("cannot watch " + Folder + ": " + std::strerror(errno));
  WatchTree(folder_);
  if (folders_.empty()) {
    close(fd_);
    throw std::runtime_error("cannot watch " + Folder + ": " + std::strerror(errno));
  }
}

TFolderWatch::~TFolderWatch() {
  if (fd_ >= 0) close(fd_);
}

void TFolderWatch::WatchTree(const std::string& Folder) {
  const int wd = inotify_add_watch(fd_, Folder.c_str(), kFolderEvents);
  if (wd < 0) return;  // gone again already, or not a folder: nothing to watch there
  folders_[wd] = Folder;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Folder, ec)) {
    if (entry.is_directory(ec) && !entry.is_symlink(ec)) WatchTree(entry.path().string());
  }
}

bool TFolderWatch::Changed() {
  bool changed = false;
  // A skin folder removed and made again (a checkout, an archive unpacked over it) is watched afresh.
  if (rootLost_ && std::filesystem::is_directory(folder_)) {
    rootLost_ = false;
    WatchTree(folder_);
    changed = true;
  }
  alignas(inotify_event) char buffer[16 * 1024];
  for (;;) {
    const ssize_t got = read(fd_, buffer, sizeof buffer);
    if (got <= 0) break;  // EAGAIN: nothing more waiting
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if ((event->mask & IN_Q_OVERFLOW) != 0) {
        changed = true;  // events were lost: something changed
        continue;
      }
      const auto folder = folders_.find(event->wd);
      if (folder == folders_.end()) continue;
      const char* name = event->len > 0 ? event->name : "";
      if ((event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0) {
        // The skin folder itself went away: watched afresh once it is back. A folder inside that moves keeps its
        // watch (a move within the skin has already watched it under its new name).
        const bool root = folder->second == folder_;
        if (root) rootLost_ = true;
        if (root || (event->mask & IN_DELETE_SELF) != 0) {
          inotify_rm_watch(fd_, event->wd);
          folders_.erase(folder);
        }
        changed = true;
      } else if ((event->mask & IN_IGNORED) != 0) {
        folders_.erase(folder);
      } else if ((event->mask & IN_ISDIR) != 0) {
        // A folder made or moved in may already hold files (an unpacked archive): watched, and counted.
        if ((event->mask & (IN_CREATE | IN_MOVED_TO)) != 0) WatchTree(folder->second + "/" + name);
        changed = true;
      } else if (IsSkinFile(name)) {
        changed = true;
      }
    }
  }
  return changed;
}
