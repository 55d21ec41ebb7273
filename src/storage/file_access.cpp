#include "storage/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

#include "storage/state_file_errors.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;

// Closes the descriptor it holds when it goes.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string RandomSuffix() {
  static std::random_device device;
  static std::mt19937_64 mix(device());
  constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix = ".";
  for (int i = 0; i < 10; ++i) suffix += kLetters[mix() % (sizeof kLetters - 1)];
  return suffix;
}

// A new file beside `target`, created exclusively and never through a link.
// It is made with `mode` from the start, so a private file is never readable
// by others even before it is whole.
Fd CreateFresh(const fs::path& target, fs::path& created, mode_t mode) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    created = target;
    created += ".tmp" + RandomSuffix();
    const int fd =
        ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return Fd(fd);
  }
  return Fd(-1);
}

// Writes `bytes` to a fresh file and renames it over `target`.
bool WriteAndRename(const fs::path& target, std::string_view bytes, mode_t mode) {
  fs::path fresh;
  Fd fd = CreateFresh(target, fresh, mode);
  if (!fd.ok()) return false;
  const bool written =
      WriteAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0;
  const bool closed = ::close(fd.release()) == 0;
  if (!written || !closed || ::rename(fresh.c_str(), target.c_str()) != 0) {
    ::unlink(fresh.c_str());
    return false;
  }
  return true;
}

}  // namespace

FileBytes ReadRegularFile(const fs::path& file, std::size_t limit) {
  FileBytes result;
  // Non-blocking, so that opening a FIFO returns at once instead of waiting
  // for a writer that never comes.
  Fd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat st {};
  if (!fd.ok()) {
    result.ErrorNumber = OpenErrorNumber(file);
    return result;
  }
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    result.ErrorNumber = kErrPathFileAccess;
    return result;
  }
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
  char buffer[65536];
  while (result.Bytes.size() < limit) {
    const std::size_t want = std::min(sizeof buffer, limit - result.Bytes.size());
    const ssize_t n = ::read(fd.get(), buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.ErrorNumber = kErrDeviceIo;
      return result;
    }
    if (n == 0) break;
    result.Bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return result;
}

fs::path WriteTarget(const fs::path& file) {
  struct stat link {};
  if (::lstat(file.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return file;
  if (link.st_uid != ::getuid()) return file;
  std::error_code ec;
  const fs::path target = fs::canonical(file, ec);
  if (ec || !fs::is_regular_file(target, ec)) return file;
  return target;
}

bool ReplaceFile(const fs::path& file, std::string_view bytes) {
  return WriteAndRename(WriteTarget(file), bytes, 0644);
}

bool ReplaceFileNotThroughLink(const fs::path& file, std::string_view bytes) {
  return WriteAndRename(file, bytes, 0644);
}

bool ReplacePrivateFile(const fs::path& file, std::string_view bytes) {
  return WriteAndRename(file, bytes, 0600);
}

bool AppendWhole(const fs::path& file, std::string_view bytes) {
  const fs::path target = WriteTarget(file);
  Fd fd(::open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
               0644));
  struct stat st {};
  if (!fd.ok() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const ssize_t n = ::write(fd.get(), bytes.data(), bytes.size());
  if (n == static_cast<ssize_t>(bytes.size()) && ::fsync(fd.get()) == 0) return true;
  // Whatever part of the record reached the file would shift every later
  // record; the file goes back to its old length.
  [[maybe_unused]] const bool cutBack = ::ftruncate(fd.get(), st.st_size) == 0;
  return false;
}

bool CopyWhole(const fs::path& from, const fs::path& to) {
  // A history of a hundred thousand matches is 6.3 MB; nothing the game
  // keeps comes near this.
  constexpr std::size_t kLimit = std::size_t{64} << 20;
  const FileBytes source = ReadRegularFile(from, kLimit);
  if (source.ErrorNumber != 0) return false;
  return WriteAndRename(to, source.Bytes, 0644);
}

}  // namespace tarvelis
