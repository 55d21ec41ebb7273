// The recorder panel, the move list, the tutor's marks and the score report
// on the offscreen platform: what the mouse does on them and what they paint.
#include <QtTest>

#include "dialogs/score_report_dialog.h"
#include "engine/headless_play.h"
#include "layout/button_bar.h"
#include "layout/pointer_rules.h"
#include "layout/recorder_layout.h"
#include "model/move_rules.h"
#include "table/move_list.h"
#include "table/qt_table_port.h"
#include "table/recorder_panel.h"
#include "table/table_window.h"
#include "waiting_hand.h"

using namespace tarvelis;

namespace {

GameState Waiting(int moves, std::uint32_t seed = 5) {
  return testing::WaitingHand(moves, seed);
}

struct Table {
  GameState& s;
  Mesa mesa;
  QtTablePort port;
  RecorderPanel panel;

  explicit Table(GameState& state)
      : s(state), mesa(state), port(state, mesa), panel(state, mesa, port) {
    mesa.LayOut();
    mesa.show();
    mesa.ShowNotice(QStringLiteral("Jugador4"));
    panel.Refresh();
  }
  void Click(QPoint local, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(&mesa, button, {}, panel.Rect().topLeft() + local);
  }
};

}  // namespace

class RecorderTest : public QObject {
  Q_OBJECT

 private slots:
  // The panel's picture follows the switch; with the recorder on the bar's
  // new-match, settings and tutor buttons refuse presses with the no-drop
  // pointer, and the continue button does not let play go on.
  void switchShowsOnTheTableAndHoldsThePlay() {
    GameState s = Waiting(7);
    s.SeatControl[s.CurrentSeat] = kManual;
    Table t(s);
    const QImage off = t.mesa.Surface().copy(t.panel.Rect());
    t.Click(QPoint(20, 12));
    QVERIFY(s.RecorderOn);
    QVERIFY(t.mesa.Surface().copy(t.panel.Rect()) != off);
    int pressed = 0;
    t.mesa.onButton = [&](int) { ++pressed; };
    for (int n : {2, 3, 4}) {
      const QRect r = t.mesa.ButtonRect(n);
      QTest::mouseMove(&t.mesa, r.center());
      QCOMPARE(t.mesa.ShownCursor(), int(kCursorNoDrop));
      QTest::mouseClick(&t.mesa, Qt::LeftButton, {}, r.center());
    }
    QCOMPARE(pressed, 0);
    QTest::mouseClick(&t.mesa, Qt::LeftButton, {}, t.mesa.ButtonRect(6).center());
    QCOMPARE(pressed, 1);
    t.Click(QPoint(10, 30));  // one back: play is held
    QTest::mouseClick(&t.mesa, Qt::LeftButton, {}, t.mesa.Painter().ContinueButtonRect().center());
    QVERIFY(!t.mesa.NoticeAnswered());
    t.Click(QPoint(40, 30));  // forward to the live move: the button goes on again
    QTest::mouseClick(&t.mesa, Qt::LeftButton, {}, t.mesa.Painter().ContinueButtonRect().center());
    QVERIFY(t.mesa.NoticeAnswered());
    QVERIFY(!s.RecorderOn);
  }

  // The list shows while the recorder is on, keeps its selection on the last
  // move in force whatever is clicked, and a double click makes it taller
  // with the selected line still in view.
  void moveListKeepsItsSelection() {
    GameState s = Waiting(12);
    s.RuleMoveList = kMoveListWithRecorder;
    Table t(s);
    MoveList& list = t.panel.List();
    QVERIFY(list.isHidden());
    t.Click(QPoint(6, 6));
    for (int i = 0; i < 3; ++i) t.Click(QPoint(10, 30));
    QVERIFY(list.isVisible());
    QCOMPARE(list.count(), 12);
    QCOMPARE(list.currentRow(), s.MoveNumber - 2);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(0)).center());
    QCOMPARE(list.currentRow(), s.MoveNumber - 2);
    const int normal = list.height();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(list.Tall());
    QVERIFY(list.height() > normal);
    QVERIFY(list.viewport()->rect().intersects(list.visualItemRect(list.currentItem())));
    t.Click(QPoint(6, 6));  // off: the list goes with the recorder
    QVERIFY(list.isHidden());
  }

  // The report paints every line it was given, in both modes, and its buttons
  // answer.
  void scoreReportPaintsItsLines() {
    for (const i16 mode : {kModeIndividual, kModePairs}) {
      GameState s;
      ApplyDefaults(s);
      s.RuleSound = kOff;
      s.RuleMode = mode;
      s.HandNumber = 3;
      for (int hand = 1; hand <= 2; ++hand) {
        HandLogEntry& e = s.HandLog[hand];
        e.Text = s.SeatName[hand];
        e.SeatUnits[hand] = e.PairUnits[hand] = 25;
        e.SeatTens[hand] = e.PairTens[hand] = 3;
      }
      Marcador report(s);
      const QImage picture = report.Picture();
      const QRgb paper = picture.pixel(picture.width() - 2, picture.height() - 2);
      auto inked = [&](const QRect& r) {
        for (int y = r.top(); y <= std::min(r.bottom(), picture.height() - 1); ++y) {
          for (int x = r.left(); x <= std::min(r.right(), picture.width() - 1); ++x) {
            if (picture.pixel(x, y) != paper) return true;
          }
        }
        return false;
      };
      for (const ReportItem& item : report.Report().items) {
        const QString text = QString::fromStdString(item.text).trimmed();
        if (item.style == ReportStyle::kText && text.isEmpty()) continue;
        QVERIFY2(inked(QRect(item.x, item.y, 24, 12)), item.text.c_str());
      }

      int history = 0;
      report.onHistoric = [&] { ++history; };
      QTest::mouseClick(&report, Qt::LeftButton, {}, report.HistoricRect().center());
      QCOMPARE(history, 1);
      QTest::mouseClick(&report, Qt::LeftButton, {}, report.SalirRect().center());
      QCOMPARE(report.result(), int(QDialog::Accepted));
    }
  }
};

QTEST_MAIN(RecorderTest)
#include "recorder_test.moc"
