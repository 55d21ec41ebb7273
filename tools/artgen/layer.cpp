#include "layer.h"

#include <QFontDatabase>
#include <QPainterPath>
#include <cstdio>
#include <cstdlib>

namespace artgen {

namespace {
int scale = 1;
}  // namespace

int Scale() {
  return scale;
}

void SetScale(int s) {
  scale = s < 1 ? 1 : s;
}

QImage NewLayer(int w, int h) {
  QImage layer(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
  layer.setDevicePixelRatio(scale);
  layer.fill(Qt::transparent);
  return layer;
}

QImage NewStrip(int w, int h) {
  QImage strip(w * scale, h * scale, QImage::Format_RGB32);
  strip.setDevicePixelRatio(scale);
  strip.fill(QColor(0, 0, 0));
  return strip;
}

void PutMasked(QImage& strip, const QImage& layer, Cell image, Cell mask, QColor rim) {
  const QImage src = layer.convertToFormat(QImage::Format_ARGB32);
  const int k = scale;
  image = Cell{image.x * k, image.y * k, image.w * k, image.h * k};
  mask = Cell{mask.x * k, mask.y * k, mask.w * k, mask.h * k};
  for (int y = 0; y < image.h; ++y) {
    for (int x = 0; x < image.w; ++x) {
      const QRgb s = src.pixel(x, y);
      const int a = qAlpha(s);
      if (a >= 128) {
        // Straight colour over the rim colour: the edge darkens, as an
        // outline would, instead of showing the strip's black.
        const auto mix = [a](int c, int r) { return (c * a + r * (255 - a) + 127) / 255; };
        strip.setPixel(
            image.x + x, image.y + y,
            qRgb(mix(qRed(s), rim.red()), mix(qGreen(s), rim.green()), mix(qBlue(s), rim.blue())));
        strip.setPixel(mask.x + x, mask.y + y, qRgb(0, 0, 0));
      } else {
        strip.setPixel(image.x + x, image.y + y, qRgb(0, 0, 0));
        strip.setPixel(mask.x + x, mask.y + y, qRgb(255, 255, 255));
      }
    }
  }
}

void PutOpaque(QImage& strip, const QImage& layer, Cell at, QColor background) {
  QImage flat(layer.size(), QImage::Format_RGB32);
  flat.setDevicePixelRatio(layer.devicePixelRatio());
  flat.fill(background);
  {
    QPainter p(&flat);
    p.drawImage(0, 0, layer);
  }
  CopyPixels(strip, flat, Cell{0, 0, at.w, at.h}, at);
}

void CopyPixels(QImage& strip, const QImage& from, Cell source, Cell to) {
  // In the strips' own pixels, so nothing is resampled at any scale.
  const int k = scale;
  for (int y = 0; y < source.h * k; ++y) {
    for (int x = 0; x < source.w * k; ++x) {
      const int fx = source.x * k + x, fy = source.y * k + y;
      const int tx = to.x * k + x, ty = to.y * k + y;
      if (!from.valid(fx, fy) || !strip.valid(tx, ty)) continue;
      strip.setPixel(tx, ty, from.pixel(fx, fy));
    }
  }
}

void BeginPainter(QPainter& p, QImage& image) {
  p.begin(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QFont DejaVu(int pixelSize, bool bold, bool condensed) {
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    const char* files[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansCondensed.ttf",
                           "DejaVuSansCondensed-Bold.ttf"};
    for (const char* f : files) {
      const QString path = QString("/usr/share/fonts/truetype/dejavu/") + f;
      if (QFontDatabase::addApplicationFont(path) < 0) {
        std::fprintf(stderr, "artgen: cannot load %s (install fonts-dejavu-core)\n",
                     qPrintable(path));
        std::exit(1);
      }
    }
  }
  QFont font(condensed ? "DejaVu Sans Condensed" : "DejaVu Sans");
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  font.setKerning(true);
  return font;
}

void OutlinedText(QPainter& p, const QFont& font, const QString& text, double cx, double baseline,
                  const QBrush& fill, QColor outline, double outlineWidth) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF box = path.boundingRect();
  path.translate(cx - box.center().x(), baseline);
  if (outlineWidth > 0) {
    p.strokePath(path, QPen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  }
  p.fillPath(path, fill);
}

void SavePng(const QImage& image, const QString& path) {
  const bool opaque = !image.hasAlphaChannel();
  const QImage out = image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  if (!out.save(path, "PNG")) {
    std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

}  // namespace artgen
