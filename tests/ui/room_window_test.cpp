#include "dialogs/room_window.h"

#include <sys/stat.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "dialogs/room_window_layout.h"
#include "model/game_state.h"
#include "platform/net_link.h"
#include "platform/raster.h"
#include "storage/player_key.h"
#include "storage/server_choice.h"

using namespace tarvelis;

class RoomWindowTest : public QObject {
  Q_OBJECT

  std::filesystem::path Folder() const { return dir_.path().toStdString(); }

 private slots:
  void init() {
    state_ = GameState();
    state_.RuleSound = kOff;
    QVERIFY(dir_.isValid());
  }

  // Opening the room makes the player's key, for the owner's eyes only; the
  // window fits the smallest table and grows with a larger one.
  void opensWithAKeyAndFitsTheTable() {
    NetLink link;
    for (const double scale : {1.0, 2.0}) {
      SetWindowScale(scale);
      RoomWindow window(state_, link, Folder());
      QVERIFY(window.width() <= 640 * scale && window.height() <= 480 * scale);
      QCOMPARE(window.width(), qRound(room_layout::kWidth * scale));
    }
    SetWindowScale(1.0);
    struct stat st {};
    QCOMPARE(::stat((Folder() / kPlayerKeyFileName).c_str(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0600u);
    QVERIFY(ParsePlayerKey(LoadPlayerKey(Folder()).Key));
  }

  // The keyboard alone: Tab goes from the server to the name; Escape leaves
  // the ranking's view first, then the room, which then has no choice.
  void theKeyboardReachesTheFieldsAndEscapeLeaves() {
    NetLink link;
    RoomWindow window(state_, link, Folder());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* server = window.findChild<QLineEdit*>(QStringLiteral("Txt_Servidor"));
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("Txt_NombreRed"));
    server->setFocus();
    QTest::keyClick(server, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), name);
    // Outside a room, the chat takes nothing.
    QVERIFY(!window.findChild<QLineEdit*>(QStringLiteral("Txt_Charla"))->isEnabled());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.Choice().What, RoomChoice::Kind::kNone);
  }

  // Tab and Shift+Tab go round the fields and the drawn buttons that can be
  // pressed now, in reading order, and Space or Enter presses the one the
  // keyboard is on. Outside a room: the fields, "Entrar", the two pages and
  // "Salir"; the list, the chat and the room's own buttons are passed over.
  void tabReachesTheButtonsAndSpacePressesThem() {
    const struct {
      int Tabs;
      Qt::KeyboardModifiers Back;
      Qt::Key Press;
      RoomChoice::Kind Left;
    } cases[] = {
        {3, Qt::NoModifier, Qt::Key_Space, RoomChoice::Kind::kCreatePage},
        {4, Qt::NoModifier, Qt::Key_Return, RoomChoice::Kind::kJoinPage},
        {1, Qt::ShiftModifier, Qt::Key_Space, RoomChoice::Kind::kNone},  // "Salir"
    };
    for (const auto& c : cases) {
      NetLink link;
      RoomWindow window(state_, link, Folder());
      window.show();
      window.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&window));
      auto* server = window.findChild<QLineEdit*>(QStringLiteral("Txt_Servidor"));
      server->setFocus();
      for (int i = 0; i < c.Tabs; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, c.Back);
      }
      // On a drawn button the window itself has the keyboard.
      QCOMPARE(QApplication::focusWidget(), &window);
      QTest::keyClick(&window, c.Press);
      QVERIFY(!window.isVisible());
      QCOMPARE(window.Choice().What, c.Left);
    }
    // Round the end and back to the server's field.
    NetLink link;
    RoomWindow window(state_, link, Folder());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* server = window.findChild<QLineEdit*>(QStringLiteral("Txt_Servidor"));
    server->setFocus();
    for (int i = 0; i < 6; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), server);
    QTest::keyClick(server, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), server);
  }

  // A networked match left unfinished is offered back: its seat and token
  // go to the match, the room's own link closed.
  void theKeptTableIsOfferedBack() {
    // No server remembered: the room waits outside and connects to nothing.
    ServerFile file;
    file.Table = KeptTable{"127.0.0.1:7801", "K7P2QXM4TR", 3, std::string(32, 'a')};
    QVERIFY(WriteServerFile(Folder(), file));
    NetLink link;
    RoomWindow window(state_, link, Folder());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(&window, Qt::LeftButton, {},
                      room_layout::ButtonRect(RoomWindow::Button::kResume).center());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.Choice().What, RoomChoice::Kind::kPlay);
    QVERIFY(window.Choice().Joined);
    QCOMPARE(window.Choice().Joined->Seat, 3);
    QCOMPARE(window.Choice().Joined->Token, std::string(32, 'a'));
    QVERIFY(!link.Connected());
  }

 private:
  GameState state_;
  QTemporaryDir dir_;
};

QTEST_MAIN(RoomWindowTest)
#include "room_window_test.moc"
