#include "platform/folders.h"

#include <QCoreApplication>

namespace tarvelis {

std::filesystem::path ProgramFolder() {
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace tarvelis
