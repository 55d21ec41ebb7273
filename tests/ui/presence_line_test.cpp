// The line beside the continue button at a server's table: one line per
// subject however often it changes, lines that end by themselves, and a
// place above the continue button at every size of the window.
#include "table/presence_line.h"

#include <QLabel>
#include <QtTest>

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
};

QTEST_MAIN(PresenceLineTest)
#include "presence_line_test.moc"
