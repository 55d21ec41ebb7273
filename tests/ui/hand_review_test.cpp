// "Analizar la mano" on the offscreen platform: chosen from the options menu,
// the review runs while the table keeps answering, reports its progress,
// lays its marks, and is cancelled by whatever takes its hand away.
#include <QLabel>
#include <QtTest>

#include "engine/headless_play.h"
#include "table/hand_reviewer.h"
#include "table/move_list.h"
#include "table/options_menu.h"
#include "table/qt_table_port.h"
#include "table/recorder_panel.h"
#include "table/table_window.h"
#include "waiting_hand.h"

using namespace tarvelis;

namespace {

// A table waiting at move `moves + 1` of a headless hand, recorder on.
struct Table {
  GameState s;
  Mesa mesa{s};
  QtTablePort port{s, mesa};
  std::unique_ptr<RecorderPanel> panel;

  Table(int moves, std::uint32_t seed) {
    s = testing::WaitingHand(moves, seed);
    panel = std::make_unique<RecorderPanel>(s, mesa, port);
    mesa.LayOut();
    mesa.show();
    mesa.ShowNotice(QStringLiteral("Jugador4"));
    Panel(QPoint(20, 12));  // the switch
  }
  void Panel(QPoint local) {
    QTest::mouseClick(&mesa, Qt::LeftButton, {}, panel->Rect().topLeft() + local);
  }
  void StepBack() { Panel(QPoint(10, 30)); }
  // A right click on the bare table, then a click on the menu's last entry;
  // true when that started a review.
  bool ChooseAnalysis() {
    QTest::mouseClick(&mesa, Qt::RightButton, {}, QPoint(400, 150));
    auto* menu = mesa.findChild<OptionsMenu*>(QStringLiteral("Pic_SelOpciones"));
    if (!menu->isVisible() || Reviewer().Running()) return false;
    QTest::mouseClick(menu, Qt::LeftButton, {}, QPoint(40, menu->height() - 12));
    return Reviewer().Running();
  }
  HandReviewer& Reviewer() { return panel->Reviewer(); }
  int Marked() {
    int n = 0;
    if (Reviewer().Finished()) {
      for (const ReviewedLine& l : ReviewedLines(*Reviewer().Finished(), s, MoveListLines(s))) {
        n += l.Marked;
      }
    }
    return n;
  }
};

}  // namespace

class HandReviewTest : public QObject {
  Q_OBJECT

 private slots:
  // A finished review marks what the core marks, and a click on a line says
  // that line's verdict while the selection stays. (Progress while the
  // recorder steps is played with the real mouse end to end.)
  void aClickOnAReviewedLineSaysItsVerdict() {
    Table t(16, 11);
    const int moves = t.panel->List().count();
    QVERIFY(t.ChooseAnalysis());
    QTRY_VERIFY_WITH_TIMEOUT(!t.Reviewer().Running(), 120000);
    QCOMPARE(t.panel->ReviewStatus(), HandReviewStatus::kDone);
    QVERIFY2(t.Marked() > 0, "this hand has a move that gave up a ten");
    QCOMPARE(t.panel->List().MarkedLines(), t.Marked());
    MoveList& list = t.panel->List();
    const auto lines = ReviewedLines(*t.Reviewer().Finished(), t.s, MoveListLines(t.s),
                                     list.ColumnsFor(list.width()));
    // A click on a line says that line's verdict; the selection stays.
    const int selected = list.Selected();
    int other = 0;
    while (other < moves - 1 && lines[other].Verdict == lines[selected].Verdict) ++other;
    list.scrollToItem(list.item(other));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(other)).center());
    QCOMPARE(t.panel->ReviewLine().text().toStdString(), lines[other].Verdict);
    QCOMPARE(list.Selected(), selected);
  }

  // Whatever takes the hand away stops the review at once; a review that
  // ended first (a replay yields to the window system) keeps only the marks
  // that still hold, and none on another hand.
  void cancelledWhenItsHandGoes_data() {
    QTest::addColumn<QString>("how");
    for (const char* how : {"recorder off", "play on", "new hand", "closed"})
      QTest::newRow(how) << how;
  }
  void cancelledWhenItsHandGoes() {
    QFETCH(QString, how);
    Table t(20, 4);
    t.StepBack();
    QVERIFY(t.ChooseAnalysis());
    if (how == "recorder off") t.Panel(QPoint(20, 12));
    if (how == "play on") t.Panel(QPoint(24, 63));
    if (how == "new hand") {
      PlayHeadlessTo(t.s, 9, 77);
      t.port.ClearTableForDeal();
    }
    if (how == "closed") {
      t.panel.reset();  // joins the worker; its queued calls die with it
      QTest::qWait(300);
      return;
    }
    QVERIFY(!t.Reviewer().Running());
    QTest::qWait(300);
    QVERIFY(!t.Reviewer().Running());
    if (how == "new hand") QVERIFY(!t.Reviewer().Finished().has_value());
    QCOMPARE(t.panel->List().MarkedLines(), t.Marked());
    if (!t.Reviewer().Finished()) QVERIFY(!t.panel->ReviewLine().isVisible());
  }
};

QTEST_MAIN(HandReviewTest)
#include "hand_review_test.moc"
