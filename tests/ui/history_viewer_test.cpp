#include "dialogs/history_viewer.h"

#include <QtTest>

#include "model/game_state.h"
#include "model/texts.h"

using namespace tarvelis;

namespace {

// `n` pairs matches, one a minute, each with its own winners.
std::vector<HistoryMatch> SomeMatches(int n) {
  std::string bytes;
  for (int i = 0; i < n; ++i) {
    char record[80];
    std::snprintf(record, sizeof record,
                  "2026120610%02dGan%-6dCompa    Perd     Otro     %3d  1      P\r\n", i, i,
                  i % 999);
    bytes += record;
  }
  return ParseHistory(bytes);
}

}  // namespace

class HistoricTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    state_ = GameState();
    state_.RuleSound = kOff;
    state_.GameSpeed = 100;  // no pause while a page turns
  }

  void cornersTurnThePagesThatExist() {
    Historic viewer(state_, SomeMatches(20));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QRect f = viewer.FolderRect();
    const QPoint next(f.right() - 5, f.bottom() - 5);
    const QPoint previous(f.left() + 5, f.bottom() - 5);
    struct Step {
      QPoint at;
      int first;
    };
    // The pointing hand only over a usable corner.
    QTest::mouseMove(&viewer, next);
    QCOMPARE(viewer.cursor().shape(), Qt::BitmapCursor);
    QTest::mouseMove(&viewer, previous);
    QCOMPARE(viewer.cursor().shape(), Qt::ArrowCursor);
    // Which corners turn, and how far they reach, is the pages' own test.
    // clang-format off
    const Step steps[] = {{previous, 0}, {next, 8}, {next, 16}, {next, 16}, {previous, 8}, {previous, 0}};
    // clang-format on
    for (const Step& s : steps) {
      QTest::mouseClick(&viewer, Qt::LeftButton, {}, s.at);
      QCOMPARE(viewer.FirstEntry(), s.first);
    }
    // The newest match heads the first page.
    QCOMPARE(QString::fromStdString(viewer.PageLines()[5].Text), QStringLiteral("19"));
  }

  void totalsAndBackToTheSamePage() {
    Historic viewer(state_, SomeMatches(12));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QRect f = viewer.FolderRect();
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(f.right() - 3, f.bottom() - 3));
    QCOMPARE(viewer.FirstEntry(), 8);
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, viewer.TotalsButtonRect().center());
    QVERIFY(viewer.ShowingTotals());
    QCOMPARE(viewer.FirstEntry(), 0);
    QCOMPARE(QString::fromStdString(viewer.PageLines()[0].Text),
             QStringLiteral("Partidas ganadas por jugador"));
    // Twelve winners: the first section takes two pages.
    QTest::keyClick(&viewer, Qt::Key_PageDown);
    QCOMPARE(viewer.FirstEntry(), 8);
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, viewer.TotalsButtonRect().center());
    QVERIFY(!viewer.ShowingTotals());
    QCOMPARE(viewer.FirstEntry(), 8);
  }

  // An empty history's totals open like any others, on a page that says why
  // they are empty, and its matches page says so too.
  void anEmptyHistoryShowsItsTotals() {
    Historic viewer(state_, {});
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QString empty = QString::fromUtf8(kEmptyHistoryText);
    QCOMPARE(QString::fromStdString(viewer.PageLines().back().Text), empty);
    QTest::mouseMove(&viewer, viewer.TotalsButtonRect().center());
    QCOMPARE(viewer.cursor().shape(), Qt::BitmapCursor);
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, viewer.TotalsButtonRect().center());
    QVERIFY(viewer.ShowingTotals());
    const auto lines = viewer.PageLines();
    QCOMPARE(QString::fromStdString(lines.front().Text),
             QStringLiteral("Partidas ganadas por jugador"));
    QCOMPARE(QString::fromStdString(lines.back().Text), empty);
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, viewer.TotalsButtonRect().center());
    QVERIFY(!viewer.ShowingTotals());
  }

 private:
  GameState state_;
};

QTEST_MAIN(HistoricTest)
#include "history_viewer_test.moc"
