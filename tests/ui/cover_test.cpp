#include "dialogs/cover.h"

#include <QtTest>

using namespace tarvelis;

class CaretaTest : public QObject {
  Q_OBJECT

 private slots:
  // A modifier alone leaves the cover scrolling; any other key or a click
  // closes it at once.
  void aKeyOrAClickClosesItAModifierDoesNot() {
    for (int how = 0; how < 3; ++how) {
      Careta cover;
      cover.show();
      QVERIFY(QTest::qWaitForWindowExposed(&cover));
      QTest::keyClick(&cover, Qt::Key_Shift);
      QVERIFY(cover.isVisible());
      if (how == 0) QTRY_VERIFY_WITH_TIMEOUT(cover.Scroll().Y < kCoverStartY, 10000);
      if (how < 2) QTest::keyClick(&cover, how == 0 ? Qt::Key_A : Qt::Key_Escape);
      if (how == 2) QTest::mouseClick(&cover, Qt::LeftButton, {}, QPoint(10, 10));
      QVERIFY(!cover.isVisible());
      QCOMPARE(cover.result(), int(QDialog::Accepted));
      QVERIFY(cover.Scroll().Stopped);
    }
  }
};

QTEST_MAIN(CaretaTest)
#include "cover_test.moc"
