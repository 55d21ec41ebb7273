#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <cstdio>

#include "artgen.h"

namespace artgen {
namespace {

// Pictures are compared by their pixels, so that another PNG encoder's bytes
// do not matter; sounds byte for byte.
bool Same(const QString& a, const QString& b) {
  if (a.endsWith(".png")) {
    const QImage x(a), y(b);
    if (x.isNull() || y.isNull() || x.size() != y.size()) return false;
    return x.convertToFormat(QImage::Format_ARGB32) == y.convertToFormat(QImage::Format_ARGB32);
  }
  QFile fa(a), fb(b);
  if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly)) return false;
  return fa.readAll() == fb.readAll();
}

}  // namespace

int CompareWith(const QString& outDir, const QString& resourcesDir) {
  int differences = 0;
  QDirIterator it(outDir, QDir::Files, QDirIterator::Subdirectories);
  QStringList files;
  while (it.hasNext()) files << it.next();
  files.sort();
  for (const QString& file : files) {
    const QString rel = QDir(outDir).relativeFilePath(file);
    if (!Same(file, resourcesDir + "/" + rel)) {
      std::fprintf(stderr, "artgen: %s differs from the committed resource\n", qPrintable(rel));
      ++differences;
    }
  }
  return differences;
}

}  // namespace artgen
