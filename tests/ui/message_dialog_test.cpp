#include "dialogs/message_dialog.h"

#include <QtTest>

#include "model/game_state.h"

using namespace tarvelis;

class MessageDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    state_ = GameState();
    state_.RuleSound = kOff;
  }

  // Only the two buttons answer a question with the mouse; by keys Return is
  // yes, Escape no, and any other key leaves the question open.
  void questionButtonsAndKeysAnswer() {
    for (bool yes : {true, false}) {
      Mensajes dialog(state_, "T", "¿Seguro?", 2, kQuestion);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(5, 40));
      QVERIFY(dialog.isVisible());
      QTest::mouseClick(&dialog, Qt::LeftButton, {},
                        (yes ? dialog.SiRect() : dialog.NoRect()).center());
      QCOMPARE(dialog.result(), yes ? int(QDialog::Accepted) : int(QDialog::Rejected));
      QVERIFY(!dialog.isVisible());
    }
    const struct {
      Qt::Key key;
      bool open;
      int result;
    } keys[] = {{Qt::Key_Return, false, QDialog::Accepted},
                {Qt::Key_Enter, false, QDialog::Accepted},
                {Qt::Key_Escape, false, QDialog::Rejected},
                {Qt::Key_N, true, 0},
                {Qt::Key_Space, true, 0}};
    for (const auto& k : keys) {
      Mensajes dialog(state_, "T", "¿Seguro?", 2, kQuestion);
      dialog.show();
      QTest::keyClick(&dialog, Qt::Key_Shift);
      QVERIFY(dialog.isVisible());
      QTest::keyClick(&dialog, k.key);
      QVERIFY2(dialog.isVisible() == k.open, qPrintable(QString::number(k.key)));
      if (!k.open) QCOMPARE(dialog.result(), k.result);
    }
  }

  void noticeClosesByKeyOrButton() {
    Mensajes byKey(state_, "Aviso", "Texto", 1, kNotice);
    byKey.show();
    QTest::keyClick(&byKey, Qt::Key_Escape);
    QVERIFY(!byKey.isVisible());
    Mensajes byButton(state_, "Aviso", "Texto", 1, kNotice);
    byButton.show();
    QVERIFY(byButton.SiRect().isNull());
    QTest::mouseClick(&byButton, Qt::LeftButton, {}, byButton.SalirRect().center());
    QVERIFY(!byButton.isVisible());
  }

  void aNewMessageReplacesTheOpenOne() {
    // The second message is shown from inside the first one's modal loop; the
    // first must be gone when the second closes.
    bool firstClosedFirst = false;
    QTimer::singleShot(50, [&] {
      QTimer::singleShot(50, [&] {
        QWidget* active = QApplication::activeModalWidget();
        if (active) QTest::keyClick(active, Qt::Key_Return);
      });
      ShowMessage(state_, "Segundo", "Dos", 1, kNotice);
      firstClosedFirst = QApplication::activeModalWidget() == nullptr;
    });
    ShowMessage(state_, "Primero", "Uno", 1, kNotice);
    QVERIFY(firstClosedFirst || QApplication::activeModalWidget() == nullptr);
  }

  // A seat name with no spaces, longer than a line, is broken inside the
  // dialog: nothing dark is drawn in the right margin or on the frame, and
  // the dialog grows to hold the lines.
  void anUnbrokenLongNameStaysInside() {
    const QString name = QString(90, QLatin1Char('W'));
    Mensajes shortOne(state_, "Final de este juego", "Ha ganado el juego Ana", 1, kNotice);
    Mensajes longOne(state_, "Final de este juego", "Ha ganado el juego " + name, 1, kNotice);
    QVERIFY(longOne.height() > shortOne.height());
    const QImage image = longOne.grab().toImage();
    const int margin = 12;
    for (int y = 30; y < longOne.SalirRect().top() - 2; ++y) {
      for (int x = image.width() - margin; x < image.width() - 2; ++x) {
        const QRgb c = image.pixel(x, y);
        QVERIFY2(qGray(c) > 110, qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
      }
    }
  }

 private:
  GameState state_;
};

QTEST_MAIN(MessageDialogTest)
#include "message_dialog_test.moc"
