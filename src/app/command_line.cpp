// The program's arguments: a table to join at the start.
#include "app/command_line.h"

#include <string>
#include <vector>

#include "app/program.h"
#include "model/game_state.h"
#include "net/invitation.h"

namespace tarvelis {

QStringList JoinWordsOf(const QStringList& arguments) {
  if (const qsizetype at = arguments.indexOf(QStringLiteral("--join")); at >= 0) {
    QStringList rest = arguments.mid(at + 1);
    if (rest.isEmpty()) rest << QString();
    return rest;
  }
  for (const QString& word : arguments.mid(1)) {
    if (word.startsWith(QString::fromLatin1(net::kInvitationScheme.data(),
                                            static_cast<qsizetype>(net::kInvitationScheme.size())),
                        Qt::CaseInsensitive)) {
      return {word};
    }
  }
  return {};
}

void Program::JoinFromCommandLine() {
  JoinInvitation(std::exchange(joinArgs_, {}));
}

}  // namespace tarvelis
