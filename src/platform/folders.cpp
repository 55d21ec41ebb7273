#include "platform/folders.h"

#include <QCoreApplication>

namespace tarvelis {

std::filesystem::path ProgramFolder() {
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

bool RunsFromInstallFolder() {
#ifdef TARVELIS_INSTALL_BINDIR
  std::error_code ec;
  return std::filesystem::equivalent(ProgramFolder(), TARVELIS_INSTALL_BINDIR, ec);
#else
  return false;
#endif
}

}  // namespace tarvelis
