#include <QApplication>
#include <QIcon>
#include <QStringList>

#include "app/command_line.h"
#include "app/network_launch.h"
#include "app/program.h"
#include "model/game_state.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TARVELIS"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarvelis.png")));
  tarvelis::Program program(tarvelis::TheGameState());
  // "--join ADDRESS CODE SEAT [NAME]" or a "tarvelis://" link: a seat at a
  // server's table.
  const QStringList join = tarvelis::JoinWordsOf(QCoreApplication::arguments());
  if (!join.isEmpty()) program.JoinAtStart(join);
  // "--watch ADDRESS CODE": a public table watched, read-only.
  const QStringList watch = tarvelis::WatchWordsOf(QCoreApplication::arguments());
  if (!watch.isEmpty()) program.WatchAtStart(watch);
  if (!program.StartProgram()) return program.HandedOver() ? 0 : 1;
  return app.exec();
}
