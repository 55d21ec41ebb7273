// Where the game keeps its files: its own folder when it may write there, as it
// always did, or else a folder of the user's own.
#pragma once

#include <filesystem>

namespace tarvelis {

// Writes and deletes the probe file "CSCD.WRK" in `programFolder`; when that
// works the program folder is the data folder. Otherwise `fallbackFolder` is
// created and, on its first use, given copies of the program folder's
// "TARVE32.INI" and "TARVE32.HIS". Errors are ignored throughout: the answer is
// always one of the two folders.
std::filesystem::path PrepareDataFolder(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& fallbackFolder);

// $XDG_DATA_HOME/tarvelis/, or ~/.local/share/tarvelis/, or, with no home at
// all, /tmp/tarvelis-<uid>/.
std::filesystem::path DefaultFallbackFolder();

}  // namespace tarvelis
