#include <QApplication>
#include <QIcon>
#include <QStringList>

#include "app/program.h"
#include "model/game_state.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TARVELIS"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarvelis.png")));
  tarvelis::Program program(tarvelis::TheGameState());
  // "--join ADDRESS CODE SEAT [NAME]": a seat at a server's table.
  const QStringList args = QCoreApplication::arguments();
  if (const qsizetype at = args.indexOf(QStringLiteral("--join")); at >= 0) {
    QStringList rest = args.mid(at + 1);
    if (rest.isEmpty()) rest << QString();  // told how to write it
    program.JoinAtStart(rest);
  }
  if (!program.StartProgram()) return 1;
  return app.exec();
}
