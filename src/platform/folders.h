// Where the game's files live on Linux: the program's own folder when it can
// be written, else the per-user data folder.
#pragma once

#include <filesystem>

namespace tarvelis {

// The folder of the running executable.
std::filesystem::path ProgramFolder();

// True when the executable is an installed one (in the folder `cmake --install`
// puts it, or a system binaries folder), not one run from a build or an
// unpacked folder.
bool RunsFromInstallFolder();

}  // namespace tarvelis
