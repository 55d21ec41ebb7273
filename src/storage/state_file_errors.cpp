#include "storage/state_file_errors.h"

#include <cerrno>
#include <system_error>

namespace tarvelis {
namespace {

namespace fs = std::filesystem;

bool IsMissingDevice(const std::error_code& ec) {
#ifdef ENOMEDIUM
  if (ec.value() == ENOMEDIUM) return true;
#endif
  return ec == std::errc::no_such_device || ec == std::errc::no_such_device_or_address;
}

int NumberOfStatusError(const fs::path& file, const std::error_code& ec) {
  if (ec == std::errc::no_such_file_or_directory) {
    std::error_code ignored;
    return fs::is_directory(file.parent_path().empty() ? fs::path(".") : file.parent_path(),
                            ignored)
               ? kErrFileNotFound
               : kErrPathNotFound;
  }
  if (ec == std::errc::not_a_directory) return kErrPathNotFound;
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) {
    return kErrPermissionDenied;
  }
  if (IsMissingDevice(ec)) return kErrDeviceUnavailable;
  if (ec == std::errc::io_error) return kErrDeviceIo;
  if (ec == std::errc::not_enough_memory) return kErrOutOfMemory;
  if (ec == std::errc::too_many_files_open || ec == std::errc::too_many_files_open_in_system) {
    return kErrTooManyFiles;
  }
  if (ec == std::errc::filename_too_long) return kErrBadFileName;
  return kErrPathFileAccess;
}

}  // namespace

int OpenErrorNumber(const fs::path& file) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (ec && status.type() != fs::file_type::not_found) return NumberOfStatusError(file, ec);
  if (status.type() == fs::file_type::not_found) {
    return NumberOfStatusError(file, std::make_error_code(std::errc::no_such_file_or_directory));
  }
  if (status.type() == fs::file_type::directory) return kErrPathFileAccess;
  // It is there and is not a folder, yet it would not open: the rights forbid it.
  return kErrPermissionDenied;
}

}  // namespace tarvelis
