// "Analizar la mano" on the offscreen platform: chosen from the options menu
// with the mouse, the review runs beside a table that keeps answering,
// reports its progress, lays its marks, and is cancelled by whatever takes
// its hand away.
#include <QLabel>
#include <QtTest>

#include "engine/headless_play.h"
#include "table/hand_reviewer.h"
#include "table/mesa.h"
#include "table/move_list.h"
#include "table/options_menu.h"
#include "table/qt_table_port.h"
#include "table/recorder_panel.h"

using namespace tarvelis;

namespace {

GameState Waiting(int moves, std::uint32_t seed) {
  GameState s;
  ApplyDefaults(s);
  s.RuleSound = kOff;
  s.RuleFirstLead = kFirstLeadDraw;
  s.GameSpeed = 100;
  s.Table = ComputeTableGeometry(800, 600);
  PlayHeadlessTo(s, moves, seed);
  s.NoticeShown = true;
  return s;
}

struct Table {
  GameState& s;
  Mesa mesa;
  QtTablePort port;
  std::unique_ptr<RecorderPanel> panel;

  explicit Table(GameState& state)
      : s(state), mesa(state), port(state, mesa), panel(new RecorderPanel(state, mesa, port)) {
    mesa.LayOut();
    mesa.show();
    mesa.ShowNotice(QStringLiteral("Jugador4"));
    panel->Refresh();
  }
  void Panel(QPoint local) {
    QTest::mouseClick(&mesa, Qt::LeftButton, {}, panel->Rect().topLeft() + local);
  }
  void SwitchRecorder() { Panel(QPoint(20, 12)); }
  void StepBack() { Panel(QPoint(10, 30)); }
  // A right click on the bare table and a click on the menu's last entry;
  // false when the menu did not offer "Analizar la mano".
  bool ChooseAnalysis() {
    const QPoint at(400, 150);
    QTest::mouseClick(&mesa, Qt::RightButton, {}, at);
    auto* menu = mesa.findChild<OptionsMenu*>(QStringLiteral("Pic_SelOpciones"));
    if (menu == nullptr || !menu->isVisible()) return false;
    const bool running = panel->Reviewer().Running();
    QTest::mouseClick(menu, Qt::LeftButton, {}, QPoint(40, menu->height() - 12));
    return !running && panel->Reviewer().Running();
  }
  HandReviewer& Reviewer() { return panel->Reviewer(); }
};

}  // namespace

class HandReviewTest : public QObject {
  Q_OBJECT

 private slots:
  // Progress arrives while the table answers the recorder's controls, the
  // entry is not offered twice, and the finished review marks the lines the
  // core marks, with the selected line's verdict above the list.
  void reviewRunsAndMarksArrive() {
    GameState s = Waiting(16, 11);
    Table t(s);
    t.SwitchRecorder();
    QVERIFY(s.RecorderOn);
    const int moves = t.panel->List().count();
    std::vector<int> progress;
    QStringList said;
    auto* reviewer = &t.Reviewer();
    const auto shown = reviewer->onChanged;
    reviewer->onChanged = [&] {
      shown();
      progress.push_back(reviewer->Done());
      said << t.panel->ReviewLine().text();
    };
    QVERIFY(t.ChooseAnalysis());
    QCOMPARE(t.panel->ReviewStatus(), HandReviewStatus::kRunning);
    QVERIFY(t.panel->ReviewLine().isVisible());
    t.StepBack();  // the table answers meanwhile; the review goes on
    QCOMPARE(int(s.MoveNumber), int(s.LiveMoveNumber) - 1);
    QVERIFY(!t.ChooseAnalysis());
    QTRY_VERIFY_WITH_TIMEOUT(!reviewer->Running(), 120000);

    QVERIFY(progress.size() >= 2);
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    QVERIFY(said.contains(QStringLiteral("Analizando la mano: 1 de %1").arg(moves)));
    QVERIFY(reviewer->Finished().has_value());
    QCOMPARE(t.panel->ReviewStatus(), HandReviewStatus::kDone);
    const auto lines = ReviewedLines(*reviewer->Finished(), s, MoveListLines(s));
    const int marked = int(
        std::count_if(lines.begin(), lines.end(), [](const ReviewedLine& l) { return l.Marked; }));
    QVERIFY2(marked > 0, "this hand has a move that gave up a ten");
    QCOMPARE(t.panel->List().MarkedLines(), marked);
    const int selected = t.panel->List().Selected();
    QCOMPARE(t.panel->ReviewLine().text(),
             QString::fromStdString(lines[static_cast<std::size_t>(selected)].Verdict));
    for (int i = 0; i < moves; ++i) {
      QCOMPARE(t.panel->List().item(i)->text(),
               QString::fromStdString(lines[static_cast<std::size_t>(i)].Text));
    }
    QVERIFY2(!t.ChooseAnalysis(), "a whole review is not offered again");
    for (int i = 0; i < 3; ++i) t.StepBack();  // the marks stay with their hand
    QCOMPARE(t.panel->List().MarkedLines(), marked);
  }

  // Whatever takes the hand away stops the review at once; nothing it was
  // weighing shows up afterwards.
  void cancelledWhenItsHandGoes_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("recorder off") << "off";
    QTest::newRow("play on from here") << "play on";
    QTest::newRow("another hand") << "new hand";
    QTest::newRow("table closed") << "closed";
  }
  void cancelledWhenItsHandGoes() {
    QFETCH(QString, how);
    GameState s = Waiting(20, 4);
    Table t(s);
    t.SwitchRecorder();
    t.StepBack();
    QVERIFY(t.ChooseAnalysis());
    if (how == "off") t.SwitchRecorder();
    if (how == "play on") t.Panel(QPoint(24, 63));
    if (how == "new hand") {
      PlayHeadlessTo(s, 9, 77);
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
    // A review that ended before its hand went (a replay yields to the
    // window system) may keep its marks, but only where it still holds.
    const auto& done = t.Reviewer().Finished();
    if (how == "new hand") QVERIFY(!done.has_value());
    int marked = 0;
    if (done) {
      for (const ReviewedLine& l : ReviewedLines(*done, s, MoveListLines(s))) marked += l.Marked;
    }
    QCOMPARE(t.panel->List().MarkedLines(), marked);
    if (!done) QVERIFY(!t.panel->ReviewLine().isVisible());
  }
};

QTEST_MAIN(HandReviewTest)
#include "hand_review_test.moc"
