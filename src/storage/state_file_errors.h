// The error numbers the game has always reported for its files. The messages
// of the settings file are keyed by them, so a failure found here is turned
// into the number the player would have seen for the same trouble.
#pragma once

#include <filesystem>

namespace tarvelis {

enum FileError : int {
  kErrNone = 0,
  kErrOverflow = 6,  // shown to nobody; kept so the message table can name it
  kErrOutOfMemory = 7,
  kErrSubscript = 9,  // a count in the file that no game can reach
  kErrTypeMismatch = 13,
  kErrBadFileName = 52,
  kErrFileNotFound = 53,
  kErrDeviceIo = 57,
  kErrPastEnd = 62,
  kErrTooManyFiles = 67,
  kErrDeviceUnavailable = 68,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
};

// Why `file` could not be opened for reading, asked after the open failed:
// 53 when the file is missing from an existing folder, 76 when the folder
// itself is missing, 75 when the name is a folder, 68 when the device is gone,
// and the nearest number for anything else.
int OpenErrorNumber(const std::filesystem::path& file);

}  // namespace tarvelis
