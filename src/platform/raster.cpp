#include "platform/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <unordered_map>

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

void RawBlit(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy,
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

  if (op == RasterOp::Copy && src.format() == QImage::Format_RGB32) {
    // The common case, a whole table's background on a large screen: its
    // pixels are opaque already, so rows are copied as they are.
    for (int row = 0; row < h; ++row) {
      std::memcpy(reinterpret_cast<QRgb*>(dst.scanLine(dy + row)) + dx,
                  reinterpret_cast<const QRgb*>(src.constScanLine(sy + row)) + sx,
                  static_cast<std::size_t>(w) * sizeof(QRgb));
    }
    return;
  }
  if (op == RasterOp::Copy) {
    for (int row = 0; row < h; ++row) {
      auto* d = reinterpret_cast<QRgb*>(dst.scanLine(dy + row)) + dx;
      const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(sy + row)) + sx;
      for (int col = 0; col < w; ++col) d[col] = kOpaque | (s[col] & kColourBits);
    }
    return;
  }
  for (int row = 0; row < h; ++row) {
    auto* d = reinterpret_cast<QRgb*>(dst.scanLine(dy + row)) + dx;
    const QRgb* s =
        needsSource ? reinterpret_cast<const QRgb*>(src.constScanLine(sy + row)) + sx : nullptr;
    for (int col = 0; col < w; ++col) d[col] = Combine(d[col], s ? s[col] : 0, op);
  }
}

// ---------------------------------------------------------------------------
// A picture drawn at more than one pixel per table pixel. The table's
// coordinates stay those of the layout; a destination whose device pixel ratio
// is not 1 holds `ratio` pixels per table pixel, and every rectangle lands on
// the pixels its scaled edges enclose, so pieces that touch on the table touch
// in the picture. Pictures of the strips are blown up once per size and kept.

bool Scaled(const QImage& dst) {
  return dst.devicePixelRatio() != 1.0;
}

struct DeviceRect {
  int x = 0, y = 0, w = 0, h = 0;
};

DeviceRect OnDevice(int x, int y, int w, int h, double ratio) {
  const int left = static_cast<int>(std::lround(x * ratio));
  const int top = static_cast<int>(std::lround(y * ratio));
  return DeviceRect{left, top, static_cast<int>(std::lround((x + w) * ratio)) - left,
                    static_cast<int>(std::lround((y + h) * ratio)) - top};
}

using SpriteKey = std::tuple<qint64, int, int, int, int, int, int, int, int>;

struct SpriteKeyHash {
  std::size_t operator()(const SpriteKey& k) const {
    std::size_t h = 0;
    std::apply([&h](auto... v) { ((h = h * 1000003u ^ std::hash<qint64>()(v)), ...); }, k);
    return h;
  }
};

// Pictures of strip cells at one size: a few hundred at most for a table, so
// the store is emptied rather than managed when it grows past that (a window
// resized many times).
std::unordered_map<SpriteKey, QImage, SpriteKeyHash>& Sprites() {
  static std::unordered_map<SpriteKey, QImage, SpriteKeyHash> sprites;
  if (sprites.size() > 2048) sprites.clear();
  return sprites;
}

struct SharperCopy {
  QImage Copy;
  int Scale = 1;
};

std::unordered_map<qint64, SharperCopy>& SharperCopies() {
  static std::unordered_map<qint64, SharperCopy> copies;
  return copies;
}

// The w x h cell at (x, y) of `strip` (shaped by the mask at (maskX, maskY)
// when `masked`), blown up to devW x devH with smoothing, premultiplied.
const QImage& Sprite(const QImage& strip, int x, int y, int w, int h, bool masked, int maskX,
                     int maskY, int devW, int devH) {
  auto& sprites = Sprites();
  const SpriteKey key{strip.cacheKey(),    x,    y,   w, h, masked ? maskX : -1,
                      masked ? maskY : -1, devW, devH};
  auto found = sprites.find(key);
  if (found != sprites.end()) return found->second;
  // From the sharper copy when there is one: drawn at a larger scale and only
  // brought down to the screen's, the cell keeps its fine lines and round pips.
  const auto sharper = SharperCopies().find(strip.cacheKey());
  const bool fromCopy = sharper != SharperCopies().end();
  const QImage& from = fromCopy ? sharper->second.Copy : strip;
  const int k = fromCopy ? sharper->second.Scale : 1;
  QImage cell = masked
                    ? CutOut(from, x * k, y * k, w * k, h * k, maskX * k, maskY * k)
                    : from.copy(x * k, y * k, w * k, h * k).convertToFormat(QImage::Format_ARGB32);
  cell.setDevicePixelRatio(1.0);
  QImage sprite = cell.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                      .scaled(devW, devH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return sprites.emplace(key, std::move(sprite)).first->second;
}

// Lays a premultiplied sprite over `dst` at device (x, y): copied when
// `opaque`, otherwise blended by its alpha.
void PutSprite(QImage& dst, int x, int y, const QImage& sprite, bool opaque) {
  const int x0 = std::max(x, 0);
  const int y0 = std::max(y, 0);
  const int x1 = std::min(x + sprite.width(), dst.width());
  const int y1 = std::min(y + sprite.height(), dst.height());
  if (x0 >= x1 || y0 >= y1 || dst.depth() != 32) return;
  for (int row = y0; row < y1; ++row) {
    auto* d = reinterpret_cast<QRgb*>(dst.scanLine(row));
    const auto* s = reinterpret_cast<const QRgb*>(sprite.constScanLine(row - y)) - x;
    for (int col = x0; col < x1; ++col) {
      const QRgb p = s[col];
      const int a = qAlpha(p);
      if (opaque || a == 255) {
        d[col] = kOpaque | (p & kColourBits);
      } else if (a != 0) {
        const QRgb q = d[col];
        const int keep = 255 - a;
        d[col] =
            qRgb(qRed(p) + (qRed(q) * keep + 127) / 255, qGreen(p) + (qGreen(q) * keep + 127) / 255,
                 qBlue(p) + (qBlue(q) * keep + 127) / 255);
      }
    }
  }
}

void ScaledBlit(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy,
                RasterOp op) {
  const double ratio = dst.devicePixelRatio();
  const DeviceRect to = OnDevice(dx, dy, w, h, ratio);
  if (to.w <= 0 || to.h <= 0) return;
  if (op == RasterOp::InvertDest) {
    RawBlit(dst, to.x, to.y, to.w, to.h, src, 0, 0, op);
    return;
  }
  if (src.devicePixelRatio() == ratio) {
    // A picture of the same scale (the table's background): pixel for pixel.
    const DeviceRect from = OnDevice(sx, sy, w, h, ratio);
    RawBlit(dst, to.x, to.y, to.w, to.h, src, from.x, from.y, op);
    return;
  }
  if (src.isNull() || w <= 0 || h <= 0) return;
  const QImage& sprite = Sprite(src, sx, sy, w, h, false, 0, 0, to.w, to.h);
  if (op == RasterOp::Copy) {
    PutSprite(dst, to.x, to.y, sprite, true);
  } else {
    RawBlit(dst, to.x, to.y, to.w, to.h, sprite.convertToFormat(QImage::Format_ARGB32), 0, 0, op);
  }
}

}  // namespace

void Blit(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy,
          RasterOp op) {
  if (Scaled(dst)) {
    ScaledBlit(dst, dx, dy, w, h, src, sx, sy, op);
  } else {
    RawBlit(dst, dx, dy, w, h, src, sx, sy, op);
  }
}

void MaskedBlit(QImage& dst, int dx, int dy, int w, int h, const QImage& strip, int imageX,
                int imageY, int maskX, int maskY) {
  if (Scaled(dst)) {
    // The mask's hole and the picture's colour, blown up apart, would part
    // by a pixel at fractional scales: the shaped picture is scaled whole
    // instead and laid over the table by its smoothed edge.
    const DeviceRect to = OnDevice(dx, dy, w, h, dst.devicePixelRatio());
    if (to.w <= 0 || to.h <= 0 || strip.isNull()) return;
    PutSprite(dst, to.x, to.y, Sprite(strip, imageX, imageY, w, h, true, maskX, maskY, to.w, to.h),
              false);
    return;
  }
  RawBlit(dst, dx, dy, w, h, strip, maskX, maskY, RasterOp::And);
  RawBlit(dst, dx, dy, w, h, strip, imageX, imageY, RasterOp::Xor);
}

void InvertRect(QImage& dst, int dx, int dy, int w, int h) {
  Blit(dst, dx, dy, w, h, QImage(), 0, 0, RasterOp::InvertDest);
}

namespace {
double windowScale = 1.0;
}  // namespace

void UseSharperCopy(const QImage& strip, const QImage& copy, int scale) {
  if (strip.isNull() || scale < 2 || copy.width() != strip.width() * scale ||
      copy.height() != strip.height() * scale) {
    return;  // a copy that does not fit its strip is ignored, never misread
  }
  SharperCopies()[strip.cacheKey()] =
      SharperCopy{copy.convertToFormat(QImage::Format_ARGB32), scale};
}

double WindowScale() {
  return windowScale;
}

void SetWindowScale(double factor) {
  windowScale = factor > 0 ? factor : 1.0;
}

QImage ScaledCanvas(int w, int h, double factor, double ratio) {
  // Never fewer pixels than the window's own: a shrunk window is brought down
  // as a whole when it is shown.
  const double scale = std::max(1.0, factor * ratio);
  QImage canvas(std::max(1, static_cast<int>(std::lround(w / factor * scale))),
                std::max(1, static_cast<int>(std::lround(h / factor * scale))),
                QImage::Format_ARGB32);
  canvas.setDevicePixelRatio(scale);
  return canvas;
}

QImage LoadStrip(const QString& path) {
  QImage image(path);
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_ARGB32);
}

QImage LoadSharpStrip(const QString& path) {
  QImage strip = LoadStrip(path);
  const QString sharper = QString(path).replace(QStringLiteral("/strips/"),
                                                QStringLiteral("/strips/x%1/").arg(kSharperScale));
  if (!strip.isNull() && sharper != path) UseSharperCopy(strip, LoadStrip(sharper), kSharperScale);
  return strip;
}

QImage ShapedPicture(const QImage& strip, int imageX, int imageY, int w, int h, int maskX,
                     int maskY, double scale) {
  if (scale == 1.0) return CutOut(strip, imageX, imageY, w, h, maskX, maskY);
  if (strip.isNull() || w <= 0 || h <= 0 || scale <= 0) return QImage();
  QImage picture =
      Sprite(strip, imageX, imageY, w, h, true, maskX, maskY,
             static_cast<int>(std::lround(w * scale)), static_cast<int>(std::lround(h * scale)));
  picture.setDevicePixelRatio(scale);
  return picture;
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
