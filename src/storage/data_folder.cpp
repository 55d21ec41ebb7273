#include "storage/data_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "storage/file_access.h"
#include "storage/history_file.h"
#include "storage/settings_file.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;

constexpr char kProbeFileName[] = "CSCD.WRK";

// Creates the probe exclusively and never through a link, so a probe left by
// a crash or planted by somebody else cannot be written through.
bool CanWriteIn(const fs::path& folder) {
  const fs::path probe = folder / kProbeFileName;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd =
        ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      ::unlink(probe.c_str());
      return true;
    }
    // A probe left behind by a crash is removed once; a folder of that name
    // cannot be, and the folder then counts as read-only.
    if (errno != EEXIST || ::unlink(probe.c_str()) != 0) return false;
  }
  return false;
}

// The fallback is a folder of the user's own: made for the user alone when it
// is missing, and refused when it is a link or somebody else's folder, or
// others may write in it (under /tmp another user could have made it first).
bool OwnFolder(const fs::path& folder) {
  fs::path plain = folder;
  if (!plain.has_filename()) plain = plain.parent_path();
  std::error_code ec;
  fs::create_directories(plain.parent_path(), ec);
  ::mkdir(plain.c_str(), 0700);
  struct stat st {};
  if (::lstat(plain.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return st.st_uid == ::getuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A file already in the data folder is the player's own and is never
// overwritten by the program folder's copy. The copy goes through a temporary
// name, so a copy cut short leaves nothing and is tried again next time.
bool CopyIfAbsent(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(to, ec)) || !fs::exists(from, ec)) return true;
  return CopyWhole(from, to);
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

}  // namespace

DataFolderChoice ChooseDataFolder(const fs::path& programFolder, const fs::path& fallbackFolder) {
  const fs::path programSettings = programFolder / kSettingsFileName;
  if (CanWriteIn(programFolder)) return {programFolder, programSettings, true};
  if (!OwnFolder(fallbackFolder) || !CanWriteIn(fallbackFolder)) {
    // Nowhere to write: the program folder's files are still read.
    return {programFolder, programSettings, false};
  }
  const fs::path settings = fallbackFolder / kSettingsFileName;
  const bool settingsCopied = CopyIfAbsent(programSettings, settings);
  CopyIfAbsent(programFolder / kHistoryFileName, fallbackFolder / kHistoryFileName);
  // Until the copy succeeds the program folder's settings are the ones read.
  return {fallbackFolder, settingsCopied ? settings : programSettings, true};
}

fs::path PrepareDataFolder(const fs::path& programFolder, const fs::path& fallbackFolder) {
  return ChooseDataFolder(programFolder, fallbackFolder).Folder;
}

fs::path DefaultFallbackFolder() {
  // Relative values of these variables are to be ignored, as if unset.
  const fs::path dataHome = Environment("XDG_DATA_HOME");
  if (dataHome.is_absolute()) return dataHome / "tarvelis" / "";
  const fs::path home = Environment("HOME");
  if (home.is_absolute()) return home / ".local" / "share" / "tarvelis" / "";
  return fs::path("/tmp") / ("tarvelis-" + std::to_string(getuid())) / "";
}

DataFolderLock::DataFolderLock(const fs::path& folder) {
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    state_ = State::kHeld;
    return;
  }
  if (errno == EWOULDBLOCK) state_ = State::kHeldByAnother;
  ::close(fd_);
  fd_ = -1;
}

DataFolderLock::~DataFolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

namespace {

// "<name>.tmp." and ten letters or digits: the new file of a write (see
// ReplaceFile).
bool IsWriteTemporary(const std::string& name) {
  constexpr std::size_t kRandom = 10;
  const std::size_t mark = name.rfind(".tmp.");
  if (mark == std::string::npos || mark == 0 || name.size() != mark + 5 + kRandom) return false;
  for (std::size_t i = mark + 5; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

void RemoveStaleTemporaries(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& file = it->path();
    if (!IsWriteTemporary(file.filename().string())) continue;
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
      continue;
    }
    ::unlink(file.c_str());
  }
}

}  // namespace tarvelis
