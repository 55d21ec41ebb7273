#include "dialogs/careta.h"

#include <QtTest>

using namespace tarvelis;

class CaretaTest : public QObject {
  Q_OBJECT

 private slots:
  void aKeyOrAClickInTheFirstFrameClosesIt() {
    for (int how = 0; how < 3; ++how) {
      Careta cover;
      cover.show();
      QVERIFY(QTest::qWaitForWindowExposed(&cover));
      if (how == 0) QTest::keyClick(&cover, Qt::Key_Space);
      if (how == 1) QTest::keyClick(&cover, Qt::Key_Escape);
      if (how == 2) QTest::mouseClick(&cover, Qt::LeftButton, {}, QPoint(10, 10));
      QVERIFY(!cover.isVisible());
      QCOMPARE(cover.result(), int(QDialog::Accepted));
      QVERIFY(cover.Scroll().Stopped);
    }
  }

  void aModifierAloneLeavesItRunning() {
    Careta cover;
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTest::keyClick(&cover, Qt::Key_Shift);
    QVERIFY(cover.isVisible());
    // It scrolls on its own meanwhile (generous wait: machines are loaded).
    QTRY_VERIFY_WITH_TIMEOUT(cover.Scroll().Y < kCoverStartY, 10000);
    QTest::keyClick(&cover, Qt::Key_A);
    QVERIFY(!cover.isVisible());
  }
};

QTEST_MAIN(CaretaTest)
#include "careta_test.moc"
