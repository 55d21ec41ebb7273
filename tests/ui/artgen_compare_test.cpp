// The artwork check forgives the rounding of antialiased edges on another
// processor, and nothing more: a stale or wrong cell must still fail it.
#include <QPainter>
#include <QtTest>
#include <functional>

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
  // Each change of the committed strip, and whether the check lets it pass.
  void onlyTheRoundingOfAFewPixelsPasses() {
    const QImage a = Committed();
    QVERIFY(!a.isNull());
    auto away = [](QRgb c, int by) { return Nudged(c, c & 0x800000 ? -by : by); };
    const struct {
      const char* what;
      std::function<QImage(QImage)> change;
      bool passes;
    } cases[] = {
        {"nothing", [](QImage b) { return b; }, true},
        {"rounding steps on a few pixels",
         [](QImage b) {
           for (int i = 0; i < 3; ++i) b.setPixel(10 + i, 10, Nudged(b.pixel(10 + i, 10), 2));
           return b;
         },
         true},
        {"a repainted cell",
         [](QImage b) {
           QPainter(&b).fillRect(QRect(4, 4, 12, 12), QColor(200, 30, 30));
           return b;
         },
         false},
        {"one strong pixel",
         [&](QImage b) {
           b.setPixel(20, 20, away(b.pixel(20, 20), 120));
           return b;
         },
         false},
        {"a slight shift over many pixels",
         [&](QImage b) {
           for (int y = 0; y < 8; ++y)
             for (int x = 0; x < 8; ++x) b.setPixel(x, y, away(b.pixel(x, y), 3));
           return b;
         },
         false},
        {"another size", [](QImage b) { return b.copy(0, 0, b.width() - 1, b.height()); }, false},
        {"no picture", [](QImage) { return QImage(); }, false},
    };
    for (const auto& c : cases) {
      QVERIFY2(artgen::CloseEnough(artgen::ComparePictures(a, c.change(a))) == c.passes, c.what);
    }
  }
};

QTEST_GUILESS_MAIN(ArtgenCompareTest)
#include "artgen_compare_test.moc"
