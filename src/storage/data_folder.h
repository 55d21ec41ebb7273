// Where the game keeps its files: its own folder when it may write there, as it
// always did, or else a folder of the user's own.
#pragma once

#include <filesystem>

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

// $XDG_DATA_HOME/tarvelis/, or ~/.local/share/tarvelis/, or, with no home at
// all, /tmp/tarvelis-<uid>/.
std::filesystem::path DefaultFallbackFolder();

}  // namespace tarvelis
