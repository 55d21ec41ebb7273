#include "storage/player_key.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "storage/file_access.h"

namespace tarvelis {
namespace {

constexpr char kHex[] = "0123456789abcdef";

bool IsLowerHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::optional<std::string> ParsePlayerKey(std::string_view text) {
  if (text.ends_with('\n')) text.remove_suffix(1);
  if (text.ends_with('\r')) text.remove_suffix(1);
  if (text.size() != kPlayerKeyHexDigits) return std::nullopt;
  for (const char c : text) {
    if (!IsLowerHex(c)) return std::nullopt;
  }
  return std::string(text);
}

std::optional<std::string> NewPlayerKey() {
  std::array<unsigned char, kPlayerKeyHexDigits / 2> bytes{};
  const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (got != bytes.size()) return std::nullopt;
  std::string key;
  for (const unsigned char b : bytes) {
    key += kHex[b >> 4];
    key += kHex[b & 15];
  }
  return key;
}

PlayerKeyResult LoadPlayerKey(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / kPlayerKeyFileName;
  std::error_code ec;
  const bool present =
      std::filesystem::symlink_status(file, ec).type() != std::filesystem::file_type::not_found;
  // A key is never longer than a line; more is a damaged file.
  const FileBytes read = ReadRegularFile(file, 256);
  if (read.ErrorNumber == 0) {
    if (auto key = ParsePlayerKey(read.Bytes)) return {*key, {}};
  }
  PlayerKeyResult result;
  const auto key = NewPlayerKey();
  if (!key) {
    result.Note = std::string(kPlayerKeyFileName) + ": no random source to make the key";
    return result;
  }
  result.Key = *key;
  if (present) {
    result.Note = std::string(kPlayerKeyFileName) + " was damaged: a new key replaces it";
  }
  // Never through a link: the key is nobody else's to redirect.
  if (!ReplacePrivateFile(file, result.Key + "\n")) {
    if (!result.Note.empty()) result.Note += "; ";
    result.Note +=
        std::string(kPlayerKeyFileName) + " could not be written: the key lasts this session";
  }
  return result;
}

}  // namespace tarvelis
