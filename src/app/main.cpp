#include <QApplication>
#include <QIcon>

#include "app/program.h"
#include "model/game_state.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TARVELIS"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarvelis.png")));
  tarvelis::Program program(tarvelis::TheGameState());
  if (!program.StartProgram()) return 1;
  return app.exec();
}
