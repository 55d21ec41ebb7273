// The artwork check forgives the rounding of antialiased edges on another
// processor, and nothing more: a stale or wrong cell must still fail it.
#include <QPainter>
#include <QtTest>

#include "artgen.h"

class ArtgenCompareTest : public QObject {
  Q_OBJECT

  static QImage Committed() {
    QImage image(QStringLiteral(TARVELIS_RESOURCES "/strips/piezas.png"));
    return image.convertToFormat(QImage::Format_ARGB32);
  }

  static QRgb Nudged(QRgb c, int by) {
    return qRgba(qBound(0, qRed(c) + by, 255), qGreen(c), qBlue(c), qAlpha(c));
  }

 private slots:
  void roundingStepsOnAFewPixelsPass() {
    const QImage a = Committed();
    QVERIFY(!a.isNull());
    QImage b = a;
    for (int i = 0; i < 3; ++i) b.setPixel(10 + i, 10, Nudged(b.pixel(10 + i, 10), 2));
    const artgen::PictureDifference d = artgen::ComparePictures(a, b);
    QVERIFY(d.pixels >= 1);
    QVERIFY(artgen::CloseEnough(d));
    QVERIFY(artgen::CloseEnough(artgen::ComparePictures(a, a)));
  }

  void aRepaintedCellFails() {
    const QImage a = Committed();
    QImage b = a;
    QPainter(&b).fillRect(QRect(4, 4, 12, 12), QColor(200, 30, 30));
    QVERIFY(!artgen::CloseEnough(artgen::ComparePictures(a, b)));
  }

  void oneStrongPixelFails() {
    const QImage a = Committed();
    QImage b = a;
    b.setPixel(20, 20, Nudged(b.pixel(20, 20), b.pixel(20, 20) & 0x800000 ? -120 : 120));
    QVERIFY(!artgen::CloseEnough(artgen::ComparePictures(a, b)));
  }

  void aSlightShiftOverManyPixelsFails() {
    const QImage a = Committed();
    QImage b = a;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        b.setPixel(x, y, Nudged(b.pixel(x, y), b.pixel(x, y) & 0x800000 ? -3 : 3));
    QVERIFY(!artgen::CloseEnough(artgen::ComparePictures(a, b)));
  }

  void anotherSizeFails() {
    const QImage a = Committed();
    QVERIFY(
        !artgen::CloseEnough(artgen::ComparePictures(a, a.copy(0, 0, a.width() - 1, a.height()))));
    QVERIFY(!artgen::CloseEnough(artgen::ComparePictures(a, QImage())));
  }
};

QTEST_GUILESS_MAIN(ArtgenCompareTest)
#include "artgen_compare_test.moc"
