#include "storage/data_folder.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

#include "storage/settings_file.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;

constexpr char kProbeFileName[] = "CSCD.WRK";
constexpr char kHistoryFileName[] = "TARVE32.HIS";

bool CanWriteIn(const fs::path& folder) {
  const fs::path probe = folder / kProbeFileName;
  {
    std::ofstream out(probe, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return false;
  }
  std::error_code ec;
  fs::remove(probe, ec);
  return true;
}

// A file already in the data folder is the player's own and is never
// overwritten by the program folder's copy.
void CopyIfAbsent(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::skip_existing, ec);
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

}  // namespace

fs::path PrepareDataFolder(const fs::path& programFolder, const fs::path& fallbackFolder) {
  if (CanWriteIn(programFolder)) return programFolder;
  std::error_code ec;
  fs::create_directories(fallbackFolder, ec);
  if (!fs::exists(fallbackFolder / kSettingsFileName, ec)) {
    CopyIfAbsent(programFolder / kSettingsFileName, fallbackFolder / kSettingsFileName);
    CopyIfAbsent(programFolder / kHistoryFileName, fallbackFolder / kHistoryFileName);
  }
  return fallbackFolder;
}

fs::path DefaultFallbackFolder() {
  // Relative values of these variables are to be ignored, as if unset.
  const fs::path dataHome = Environment("XDG_DATA_HOME");
  if (dataHome.is_absolute()) return dataHome / "tarvelis" / "";
  const fs::path home = Environment("HOME");
  if (home.is_absolute()) return home / ".local" / "share" / "tarvelis" / "";
#if __has_include(<unistd.h>)
  return fs::path("/tmp") / ("tarvelis-" + std::to_string(getuid())) / "";
#else
  return fs::path("/tmp") / "tarvelis" / "";
#endif
}

}  // namespace tarvelis
