#include "platform/raster.h"

#include <QtTest>

using tarvelis::Blit;
using tarvelis::CutOut;
using tarvelis::InvertRect;
using tarvelis::MaskedBlit;
using tarvelis::RasterOp;

class RasterTest : public QObject {
  Q_OBJECT

  static QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
  }

 private slots:
  void maskThenPictureLeavesTheSurroundingsAlone() {
    // A 2x1 strip: picture at x 0 (red object, black surroundings), mask at
    // x 2 (black object, white surroundings).
    QImage strip(4, 1, QImage::Format_ARGB32);
    strip.setPixel(0, 0, 0xFFFF0000);
    strip.setPixel(1, 0, 0xFF000000);
    strip.setPixel(2, 0, 0xFF000000);
    strip.setPixel(3, 0, 0xFFFFFFFF);
    QImage table = Filled(2, 1, 0xFF336699);
    MaskedBlit(table, 0, 0, 2, 1, strip, 0, 0, 2, 0);
    QCOMPARE(table.pixel(0, 0), 0xFFFF0000u);
    QCOMPARE(table.pixel(1, 0), 0xFF336699u);
  }

  void clipsAtEveryEdge() {
    QImage dst = Filled(4, 4, 0xFF000000);
    QImage src = Filled(4, 4, 0xFFFFFFFF);
    Blit(dst, -2, -2, 4, 4, src, 0, 0, RasterOp::Copy);  // off the top left
    QCOMPARE(dst.pixel(0, 0), 0xFFFFFFFFu);
    QCOMPARE(dst.pixel(1, 1), 0xFFFFFFFFu);
    QCOMPARE(dst.pixel(2, 2), 0xFF000000u);
    Blit(dst, 3, 3, 10, 10, src, 0, 0, RasterOp::Copy);  // past the bottom right
    QCOMPARE(dst.pixel(3, 3), 0xFFFFFFFFu);
    Blit(dst, 0, 0, 4, 4, src, 3, 3, RasterOp::Copy);  // source runs out
    QCOMPARE(dst.pixel(0, 3), 0xFF000000u);
    Blit(dst, 0, 0, 4, 4, src, -10, -10, RasterOp::Copy);  // nothing of the source
    QCOMPARE(dst.pixel(2, 2), 0xFF000000u);
  }

  // A shaped piece cut from a strip by a rectangle that reaches past any of
  // the strip's edges: only what lies inside is taken, and the picture is
  // never larger than the strip, whatever the size asked for.
  void cutOutTakesOnlyWhatLiesInsideTheStrip() {
    // 4 x 2 strip: picture on row 0 (green), mask on row 1 (black = inside).
    QImage strip(4, 2, QImage::Format_ARGB32);
    for (int x = 0; x < 4; ++x) {
      strip.setPixel(x, 0, 0xFF00FF00);
      strip.setPixel(x, 1, 0xFF000000);
    }
    struct Case {
      int imageX, w, h, maskX;
      QSize size;
      int opaqueFrom, opaqueTo;  // columns taken from the strip
    } cases[] = {
        {0, 4, 1, 0, {4, 1}, 0, 3},         {-2, 4, 1, -2, {4, 1}, 2, 3},  // left of the strip
        {-40, 4, 1, -40, {4, 1}, 9, -1},     // wholly left: nothing taken
        {2, 4, 1, 2, {4, 1}, 0, 1},          // past the right edge
        {0, 32767, 32767, 0, {4, 2}, 0, 3},  // a size from nowhere
        {0, -5, 1, 0, {0, 0}, 9, -1},        // no size at all: an empty picture
    };
    for (const Case& c : cases) {
      const QImage out = CutOut(strip, c.imageX, 0, c.w, c.h, c.maskX, 1);
      QCOMPARE(out.size(), c.size);
      for (int x = 0; x < out.width(); ++x) {
        const bool taken = x >= c.opaqueFrom && x <= c.opaqueTo;
        QCOMPARE(out.pixel(x, 0), taken ? 0xFF00FF00u : 0u);
      }
    }
    // Rows above the strip are left transparent too.
    const QImage above = CutOut(strip, 0, -1, 2, 2, 0, 0);
    QCOMPARE(above.pixel(0, 0), 0u);
  }
};

QTEST_GUILESS_MAIN(RasterTest)
#include "raster_test.moc"
