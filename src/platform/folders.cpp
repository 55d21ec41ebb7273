#include "platform/folders.h"

#include <QCoreApplication>

namespace tarvelis {

std::filesystem::path ProgramFolder() {
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

bool RunsFromInstallFolder() {
  // The configured install folder, and the system's binary folders a package
  // puts the game in whatever prefix this build was configured with.
  const std::filesystem::path folders[] = {
#ifdef TARVELIS_INSTALL_BINDIR
      TARVELIS_INSTALL_BINDIR,
#endif
      "/usr/bin", "/usr/games", "/usr/local/bin", "/usr/local/games"};
  const std::filesystem::path program = ProgramFolder();
  for (const std::filesystem::path& folder : folders) {
    std::error_code ec;
    if (std::filesystem::equivalent(program, folder, ec)) return true;
  }
  return false;
}

}  // namespace tarvelis
