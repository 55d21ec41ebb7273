#include "platform/raster.h"

#include <algorithm>

namespace tarvelis {
namespace {

constexpr QRgb kColourBits = 0x00FFFFFF;
constexpr QRgb kOpaque = 0xFF000000;

QRgb Combine(QRgb d, QRgb s, RasterOp op) {
  switch (op) {
    case RasterOp::Copy:
      return kOpaque | (s & kColourBits);
    case RasterOp::And:
      return kOpaque | (d & s & kColourBits);
    case RasterOp::Xor:
      return kOpaque | ((d ^ s) & kColourBits);
    case RasterOp::InvertDest:
      return kOpaque | (~d & kColourBits);
  }
  return d;
}

}  // namespace

void Blit(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy,
          RasterOp op) {
  const bool needsSource = op != RasterOp::InvertDest;
  // Clip the rectangle against the destination and, when it is read, the source.
  if (dx < 0) {
    sx -= dx;
    w += dx;
    dx = 0;
  }
  if (dy < 0) {
    sy -= dy;
    h += dy;
    dy = 0;
  }
  if (needsSource) {
    if (sx < 0) {
      dx -= sx;
      w += sx;
      sx = 0;
    }
    if (sy < 0) {
      dy -= sy;
      h += sy;
      sy = 0;
    }
    w = std::min(w, src.width() - sx);
    h = std::min(h, src.height() - sy);
  }
  w = std::min(w, dst.width() - dx);
  h = std::min(h, dst.height() - dy);
  if (w <= 0 || h <= 0) return;
  // Rows are walked as 32-bit pixels; an image of another depth would be
  // read or written past its rows.
  if (dst.depth() != 32 || (needsSource && src.depth() != 32)) return;

  for (int row = 0; row < h; ++row) {
    auto* d = reinterpret_cast<QRgb*>(dst.scanLine(dy + row)) + dx;
    const QRgb* s =
        needsSource ? reinterpret_cast<const QRgb*>(src.constScanLine(sy + row)) + sx : nullptr;
    for (int col = 0; col < w; ++col) d[col] = Combine(d[col], s ? s[col] : 0, op);
  }
}

void MaskedBlit(QImage& dst, int dx, int dy, int w, int h, const QImage& strip, int imageX,
                int imageY, int maskX, int maskY) {
  Blit(dst, dx, dy, w, h, strip, maskX, maskY, RasterOp::And);
  Blit(dst, dx, dy, w, h, strip, imageX, imageY, RasterOp::Xor);
}

void InvertRect(QImage& dst, int dx, int dy, int w, int h) {
  Blit(dst, dx, dy, w, h, QImage(), 0, 0, RasterOp::InvertDest);
}

QImage LoadStrip(const QString& path) {
  QImage image(path);
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace tarvelis

namespace tarvelis {

QImage CutOut(const QImage& strip, int imageX, int imageY, int w, int h, int maskX, int maskY) {
  // The picture is never larger than the strip it comes from, whatever the
  // caller asks for, so no size read from a file can make a huge image.
  w = std::clamp(w, 0, std::max(strip.width(), 0));
  h = std::clamp(h, 0, std::max(strip.height(), 0));
  QImage out(w, h, QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  if (strip.isNull() || strip.depth() != 32 || w == 0 || h == 0) return out;
  // Only the pixels whose picture and mask both lie inside the strip are
  // taken; everything else stays transparent.
  const auto inside = [](int v, int size) { return v >= 0 && v < size; };
  for (int y = 0; y < h; ++y) {
    if (!inside(imageY + y, strip.height()) || !inside(maskY + y, strip.height())) continue;
    const QRgb* picture = reinterpret_cast<const QRgb*>(strip.constScanLine(imageY + y));
    const QRgb* mask = reinterpret_cast<const QRgb*>(strip.constScanLine(maskY + y));
    QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      if (!inside(imageX + x, strip.width()) || !inside(maskX + x, strip.width())) continue;
      if ((mask[maskX + x] & 0xFFFFFF) == 0) o[x] = 0xFF000000 | picture[imageX + x];
    }
  }
  return out;
}

}  // namespace tarvelis
