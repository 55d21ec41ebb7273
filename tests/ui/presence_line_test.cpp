// The line beside the continue button at a server's table: one line per
// subject however often it changes, lines that end by themselves, and a
// place above the continue button at every size of the window; the steps
// over it.
#include "table/presence_line.h"

#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <vector>

#include "table/table_painter.h"
#include "table/table_window.h"

using namespace tarvelis;

class PresenceLineTest : public QObject {
  Q_OBJECT

 private slots:
  void manyChangesOfOneSubjectAreOneLine() {
    GameState s;
    Mesa mesa(s);
    mesa.LayOut();
    PresenceLine line(mesa);
    for (int n = 0; n < 1000; ++n) {
      line.Set(2, n % 2 == 0 ? QStringLiteral("Ana se ha ido") : QStringLiteral("Ana ha vuelto"));
    }
    line.Set(PresenceLine::kLink, QStringLiteral("Sin conexión"));
    QCOMPARE(line.Text(), QStringLiteral("Sin conexión\nAna ha vuelto"));
    line.Clear(PresenceLine::kLink);
    QCOMPARE(line.Text(), QStringLiteral("Ana ha vuelto"));
    // A line for a moment goes by itself; one without an end stays.
    line.Set(3, QStringLiteral("Luis ha vuelto"), 10);
    QTRY_COMPARE_WITH_TIMEOUT(line.Text(), QStringLiteral("Ana ha vuelto"), 5000);
    line.Clear(2);
    QVERIFY(line.Text().isEmpty());
  }

  void theLineStandsAboveTheContinueButton() {
    GameState s;
    Mesa mesa(s);
    mesa.LayOut();
    // A window's size reaches the table once it is shown.
    mesa.show();
    PresenceLine line(mesa);
    line.Set(1, QStringLiteral("Beatriz se ha desconectado"));
    auto* label = mesa.findChild<QLabel*>(QStringLiteral("Lbl_Presencia"));
    QVERIFY(label != nullptr);
    for (const QSize size : {QSize(800, 600), QSize(1600, 1200), QSize(1000, 500)}) {
      mesa.resize(size);
      QTRY_VERIFY_WITH_TIMEOUT(!label->isHidden(), 5000);
      QTRY_COMPARE_WITH_TIMEOUT(mesa.size(), size, 5000);
      QCoreApplication::processEvents();
      const QRect button = mesa.ToWindowRect(mesa.Painter().ContinueButtonRect());
      QVERIFY2(label->geometry().bottom() < button.top(),
               qPrintable(QString::number(size.width())));
      QVERIFY2(mesa.rect().contains(label->geometry()),
               qPrintable(QStringLiteral("%1 %2 %3 %4 in %5 %6")
                              .arg(label->x())
                              .arg(label->y())
                              .arg(label->width())
                              .arg(label->height())
                              .arg(mesa.width())
                              .arg(mesa.height())));
    }
    line.Clear(1);
    QTRY_VERIFY_WITH_TIMEOUT(label->isHidden(), 5000);
  }

  // The steps over the line take clicks only where there is
  // somewhere to go, stand clear of the line and the continue button, and
  // go with the line.
  void theStepsBesideTheLineTakeClicks() {
    GameState s;
    Mesa mesa(s);
    mesa.LayOut();
    mesa.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mesa));
    PresenceLine line(mesa);
    std::vector<int> steps;
    line.Set(PresenceLine::kLink, QStringLiteral("La partida ha terminado"));
    line.Set(6, QStringLiteral("Mano 3 de 3"));
    line.SetSteps(true, false, [&](int by) { steps.push_back(by); });
    auto* label = mesa.findChild<QLabel*>(QStringLiteral("Lbl_Presencia"));
    auto* back = mesa.findChild<QToolButton*>(QStringLiteral("Cmd_ManoAnterior"));
    auto* forward = mesa.findChild<QToolButton*>(QStringLiteral("Cmd_ManoSiguiente"));
    QVERIFY(back != nullptr && forward != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(back->isVisible() && forward->isVisible(), 5000);
    const QRect button = mesa.ToWindowRect(mesa.Painter().ContinueButtonRect());
    for (const QToolButton* b : {back, forward}) {
      QVERIFY(!b->geometry().intersects(label->geometry()));
      QVERIFY(!b->geometry().intersects(button));
      QVERIFY(mesa.rect().contains(b->geometry()));
      QVERIFY(b->geometry().bottom() < label->geometry().top());
    }
    QVERIFY(back->geometry().right() < forward->geometry().left());
    QCOMPARE(forward->geometry().right(), label->geometry().right());
    QTest::mouseClick(forward, Qt::LeftButton);
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(steps, std::vector<int>{-1});
    line.ClearSteps();
    QTRY_VERIFY_WITH_TIMEOUT(!back->isVisible() && !forward->isVisible(), 5000);
    QVERIFY(label->isVisible());
  }
};

QTEST_MAIN(PresenceLineTest)
#include "presence_line_test.moc"
