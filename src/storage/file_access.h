// Reading and writing the game's files so that nothing a user's machine can
// hold in their place blocks, misleads or damages the game: a FIFO, a device
// or a folder where a file should be, a link planted by somebody else, a full
// disk half way through a write.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvelis {

struct FileBytes {
  int ErrorNumber = 0;  // 0, or the game's number for why the file could not be read
  std::string Bytes;
};

// The first `limit` bytes of `file`, which must be a regular file (a link to
// one is followed). A FIFO, a device or a folder is refused at once, without
// waiting on it; the error numbers are those of OpenErrorNumber.
FileBytes ReadRegularFile(const std::filesystem::path& file, std::size_t limit);

// The file a write of `file` goes to: `file` itself, or, when `file` is a link
// the user made (owned by the user) to an existing regular file, that file, so
// a settings file kept elsewhere on purpose stays where it is. A link owned by
// anybody else is never followed: the write replaces the link.
std::filesystem::path WriteTarget(const std::filesystem::path& file);

// Writes `bytes` to a new file with a random name beside the target, created
// exclusively (never through an existing name or link), and renames it over
// the target once it is whole on disk. On any failure the old file is as it
// was and the new one is gone.
bool ReplaceFile(const std::filesystem::path& file, std::string_view bytes);

// The same, for a file that is never reached through a link: a link of that
// name is replaced by the new file, whoever made it.
bool ReplaceFileNotThroughLink(const std::filesystem::path& file, std::string_view bytes);

// The same again, for a secret: the new file is readable and writable by
// its owner only (0600) from the moment it exists.
bool ReplacePrivateFile(const std::filesystem::path& file, std::string_view bytes);

// Appends `bytes` with one write. When the write fails or is short, the file
// is cut back to its old length, so a full disk leaves it exactly as it was.
bool AppendWhole(const std::filesystem::path& file, std::string_view bytes);

// Copies `from` (a regular file) to `to` through a temporary name, so `to`
// exists only once the copy is complete.
bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tarvelis
