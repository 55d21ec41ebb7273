// Where the game keeps its files: its own folder when it may write there, as it
// always did, or else a folder of the user's own.
#pragma once

#include <filesystem>
#include <string>

#include "storage/settings_file.h"

namespace tarvelis {

// Writes and deletes the probe file "CSCD.WRK" in `programFolder`; when that
// works the program folder is the data folder. Otherwise `fallbackFolder` is
// created for the user alone and, while it lacks them, given copies of the
// program folder's "TARVE32.INI" and "TARVE32.HIS" (each whole or not at all,
// tried again at the next start when it failed). A fallback that is a link,
// belongs to somebody else or that others may write in is not used. When
// neither folder can be written the program folder's files are read and
// nothing is saved (CanSave false).
DataFolderChoice ChooseDataFolder(const std::filesystem::path& programFolder,
                                  const std::filesystem::path& fallbackFolder);

// The folder ChooseDataFolder writes to.
std::filesystem::path PrepareDataFolder(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& fallbackFolder);

// Keeps one copy of the game per data folder: the folder itself is locked
// (flock) for as long as the object lives. The kernel lets the lock go when
// the copy ends, however it ends, so a copy that died never blocks the next.
class DataFolderLock {
 public:
  enum class State { kHeld, kHeldByAnother, kUnavailable };
  explicit DataFolderLock(const std::filesystem::path& folder);
  ~DataFolderLock();
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;
  // kUnavailable: the folder cannot be opened or locked (a file system
  // without locks); the game then runs as it always did.
  State state() const { return state_; }

 private:
  int fd_ = -1;
  State state_ = State::kUnavailable;
};

// Removes what a write killed half way leaves in `folder`: the new files
// ("<name>.tmp.<random>") that were never renamed over their target. Only
// the caller's own regular files of that shape go; call it while holding
// the folder's DataFolderLock, when no write can be under way.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

// $XDG_DATA_HOME/tarvelis/, or ~/.local/share/tarvelis/, or, with no home at
// all, /tmp/tarvelis-<uid>/.
std::filesystem::path DefaultFallbackFolder();

}  // namespace tarvelis
