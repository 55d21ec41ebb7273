// The chat of a networked table: a stranger's markup shown as plain text,
// only the last lines that fit, Enter saying the cleaned line and keeping
// the key from the table, and the button hiding it all and telling so.
#include "table/table_chat.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>
#include <string>
#include <vector>

#include "table/table_window.h"

using namespace tarvelis;

class TableChatTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheLastLinesAsPlainText() {
    GameState s;
    s.Table = ComputeTableGeometry(1024, 768);
    Mesa mesa(s);
    mesa.LayOut();
    mesa.show();
    TableChat chat(mesa, s.Table, false);
    for (int n = 1; n <= 60; ++n) chat.Add("Eva", "línea " + std::to_string(n));
    chat.Add("Luis", "<b>negrita</b> <img src=x>");
    auto* lines = mesa.findChild<QLabel*>(QStringLiteral("Lbl_Charla"));
    QVERIFY(lines != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(lines->isVisible(), 5000);
    QCOMPARE(lines->textFormat(), Qt::PlainText);
    const QStringList shown = chat.ShownLines();
    QCOMPARE(shown.size(), chat.Place().LineCount);
    QCOMPARE(shown.back(), QStringLiteral("Luis: <b>negrita</b> <img src=x>"));
    QCOMPARE(shown[shown.size() - 2], QStringLiteral("Eva: línea 60"));
    // A line far wider than the chat is cut to its room.
    chat.Add("Eva", std::string(200, 'w'));
    QTRY_VERIFY_WITH_TIMEOUT(chat.ShownLines().back().startsWith(QStringLiteral("Eva: www")), 5000);
    QVERIFY(chat.ShownLines().back().size() < 200);
  }

  void enterSaysTheLineAndTheButtonHidesIt() {
    GameState s;
    s.Table = ComputeTableGeometry(1024, 768);
    Mesa mesa(s);
    mesa.LayOut();
    mesa.show();
    TableChat chat(mesa, s.Table, false);
    std::vector<std::string> said;
    std::vector<bool> hidden;
    chat.onSay = [&](const std::string& text) { said.push_back(text); };
    chat.onHiddenChanged = [&](bool h) { hidden.push_back(h); };
    auto* input = mesa.findChild<QLineEdit*>(QStringLiteral("Txt_Charla"));
    auto* toggle = mesa.findChild<QToolButton*>(QStringLiteral("Cmd_Charla"));
    QVERIFY(input != nullptr && toggle != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(input->isVisible(), 5000);
    input->setText(QStringLiteral("  hola   a todos "));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(said, std::vector<std::string>{"hola a todos"});
    QVERIFY(input->text().isEmpty());
    // Blanks alone say nothing.
    input->setText(QStringLiteral("   "));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(said.size(), 1U);
    toggle->click();
    QCOMPARE(hidden, std::vector<bool>{true});
    QTRY_VERIFY_WITH_TIMEOUT(!input->isVisible(), 5000);
    QVERIFY(toggle->isVisible());
    chat.Toggle();
    QTRY_VERIFY_WITH_TIMEOUT(input->isVisible(), 5000);
    QCOMPARE(hidden, (std::vector<bool>{true, false}));
  }
};

QTEST_MAIN(TableChatTest)
#include "table_chat_test.moc"
