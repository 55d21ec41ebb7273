// The table blown up to a window: at factor 1 the window shows the table's
// picture pixel for pixel, as the layout draws it; blown up, every piece lands
// where the unscaled table has it.
#include <QtTest>

#include "engine/headless_play.h"
#include "layout/table_view.h"
#include "table/table_window.h"

using namespace tarvelis;

namespace {

GameState HandInPlay(int width, int height) {
  GameState s;
  ApplyDefaults(s);
  s.SeatControl[4] = kAutomatic;
  s.RuleSound = kOff;
  s.RulePauseBetweenMoves = kOff;
  s.Table = ComputeTableGeometry(width, height);
  PlayHeadlessTo(s, 9, 21);
  return s;
}

// The largest difference of one channel, averaged over the picture.
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      sum += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                       std::abs(qBlue(p) - qBlue(q))});
    }
  }
  return sum / (a.width() * a.height());
}

}  // namespace

class TableScaleTest : public QObject {
  Q_OBJECT

 private slots:
  void classicSizesAreShownPixelForPixel() {
    for (const QSize size : {QSize(800, 600), QSize(1024, 768)}) {
      GameState s = HandInPlay(size.width(), size.height());
      Mesa mesa(s);
      mesa.LayOut();
      QCOMPARE(mesa.size(), size);
      QCOMPARE(mesa.PictureScale(), 1.0);
      QCOMPARE(mesa.Surface().size(), size);
      const QImage shown = mesa.grab().toImage().convertToFormat(QImage::Format_RGB32);
      QCOMPARE(shown, mesa.Surface().convertToFormat(QImage::Format_RGB32));
    }
  }

  void aBlownUpTableHasEveryPieceWhereTheTableHasIt() {
    GameState s = HandInPlay(800, 600);
    Mesa unscaled(s);
    unscaled.LayOut();
    Mesa doubled(s);
    doubled.resize(1600, 1200);
    doubled.LayOut();
    QCOMPARE(doubled.PictureScale(), 2.0);
    QCOMPARE(doubled.Surface().size(), QSize(1600, 1200));
    const QImage shrunk = doubled.Surface()
                              .scaled(800, 600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_RGB32);
    const QImage table = unscaled.Surface().convertToFormat(QImage::Format_RGB32);
    // Smoothing differs at every edge; a piece out of place by a pixel or a
    // missing one differs far more.
    const double here = MeanDifference(shrunk, table);
    const double shifted = MeanDifference(shrunk, table.copy(2, 0, 800, 600));
    QVERIFY2(here < 4.0 && shifted > 2 * here,
             qPrintable(QStringLiteral("%1 %2").arg(here).arg(shifted)));

    // A window point maps back to the table pixel under it.
    QCOMPARE(doubled.ToTablePoint(QPointF(801, 599)), QPoint(400, 299));
    QCOMPARE(doubled.ToWindowRect(QRect(400, 299, 1, 1)), QRect(800, 598, 2, 2));
  }

  // Stepping back through a finished hand takes its "DOMINÓ" sign away, and
  // coming forward to its last move brings it back where it was.
  void theDominoSignShowsOnlyAtTheHandsEnd() {
    GameState s = HandInPlay(800, 600);
    Mesa mesa(s);
    mesa.LayOut();
    TablePainter& p = mesa.Painter();
    s.HandInProgress = false;
    p.Revealed = true;
    p.DrawDomino();
    const QRect sign = p.DominoRect();
    const QImage atEnd = mesa.Surface().copy(sign);
    QVERIFY(atEnd != mesa.Marmol().copy(sign));
    s.RecorderOn = true;
    s.LiveMoveNumber = static_cast<i16>(s.MoveNumber + 1);
    s.MoveNumber = static_cast<i16>(s.LiveMoveNumber - 2);
    QCOMPARE(p.FollowEndMarks(), sign);
    QCOMPARE(mesa.Surface().copy(sign), mesa.Marmol().copy(sign));
    QCOMPARE(p.FollowEndMarks(), QRect());
    s.MoveNumber = s.LiveMoveNumber;
    QCOMPARE(p.FollowEndMarks(), sign);
    QCOMPARE(mesa.Surface().copy(sign), atEnd);
  }

  // A whole redraw restores only the places drawn on: everything drawn before
  // it, the hands and chain of a hand now over included, must go.
  void aWholeRedrawLeavesNothingOfWhatWasDrawnBefore() {
    GameState s = HandInPlay(800, 600);
    Mesa mesa(s);
    mesa.resize(1200, 900);
    mesa.LayOut();
    TablePainter& p = mesa.Painter();
    for (int seat = 1; seat <= kSeats; ++seat) p.DrawPassSign(seat);
    // The "DOMINÓ" sign shows only on a hand at its end.
    s.HandInProgress = false;
    p.Revealed = true;
    p.DrawDomino();
    p.Revealed = false;
    s.HandInProgress = true;
    p.DrawLeaderPanel();
    p.DrawContinueButton(QStringLiteral("Jugador1"));
    p.DrawThinkingHand(2, 3);
    p.DrawRecorderPanel(2);
    s.HandInProgress = false;
    p.DrawAll();
    Mesa fresh(s);
    fresh.resize(1200, 900);
    fresh.LayOut();
    QCOMPARE(mesa.Surface(), fresh.Surface());
  }
};

QTEST_MAIN(TableScaleTest)
#include "table_scale_test.moc"
