#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "artgen.h"

namespace artgen {

PictureDifference ComparePictures(const QImage& a, const QImage& b) {
  PictureDifference d;
  if (a.isNull() || b.isNull() || a.size() != b.size()) {
    d.sizesDiffer = true;
    return d;
  }
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  for (int row = 0; row < x.height(); ++row) {
    const auto* px = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* py = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      if (px[col] == py[col]) continue;
      ++d.pixels;
      const int channel = std::max(
          {std::abs(qRed(px[col]) - qRed(py[col])), std::abs(qGreen(px[col]) - qGreen(py[col])),
           std::abs(qBlue(px[col]) - qBlue(py[col])), std::abs(qAlpha(px[col]) - qAlpha(py[col]))});
      d.largestChannel = std::max(d.largestChannel, channel);
    }
  }
  return d;
}

// Antialiased edges come out a step or two apart on another processor, so a
// few pixels may differ slightly; a stale cell differs in dozens of pixels or
// by far more than a rounding step.
bool CloseEnough(const PictureDifference& d) {
  return !d.sizesDiffer && d.pixels <= kTolerablePixels && d.largestChannel <= kTolerableChannel;
}

namespace {

// Pictures are compared by their pixels, so that another PNG encoder's bytes
// do not matter; sounds byte for byte.
bool Same(const QString& a, const QString& b) {
  if (a.endsWith(".png")) return CloseEnough(ComparePictures(QImage(a), QImage(b)));
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
