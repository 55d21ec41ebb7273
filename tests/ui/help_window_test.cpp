// The manual: it opens at its first topic, every link leads to a page that
// is there, and the window goes with the table that owns it.
#include "dialogs/help_window.h"

#include <QDir>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

using namespace tarvelis;

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void opensAtTheFirstTopicOnceAndClosesWithItsOwner() {
    auto* table = new QWidget;
    HelpWindow* help = ShowHelp(table);
    QCOMPARE(help->Browser()->source(), QUrl(QString::fromLatin1(kHelpHome)));
    QCOMPARE(ShowHelp(table), help);
    QPointer<HelpWindow> watched = help;
    delete table;
    QVERIFY(watched.isNull());
  }

  void everyLinkLeadsToAPageThatIsThere() {
    const QDir pages(QStringLiteral(":/help"));
    const QStringList files = pages.entryList({QStringLiteral("*.html")});
    QVERIFY(files.size() >= 8);
    const QRegularExpression href(QStringLiteral("href=\"([^\"#]+)"));
    QStringList reached;
    for (const QString& name : files) {
      QFile file(pages.filePath(name));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QString html = QString::fromUtf8(file.readAll());
      for (auto it = href.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(1);
        QVERIFY2(pages.exists(target), qPrintable(name + " -> " + target));
        reached << target;
      }
    }
    // Every topic can be reached from some other page.
    for (const QString& name : files) {
      if (name != QStringLiteral("index.html")) QVERIFY2(reached.contains(name), qPrintable(name));
    }
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
