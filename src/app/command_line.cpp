// The program's arguments: a table to join at the start.
#include "app/command_line.h"

#include <string>
#include <vector>

#include "app/network_launch.h"
#include "app/program.h"
#include "model/game_state.h"
#include "model/table_port.h"
#include "model/texts.h"
#include "net/invitation.h"
#include "net/lobby.h"

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

QStringList WatchWordsOf(const QStringList& arguments) {
  const qsizetype at = arguments.indexOf(QStringLiteral("--watch"));
  if (at < 0) return {};
  QStringList rest = arguments.mid(at + 1, 2);
  if (rest.isEmpty()) rest << QString();
  return rest;
}

void Program::JoinFromCommandLine() {
  if (!watchArgs_.isEmpty()) {
    const QStringList words = std::exchange(watchArgs_, {});
    const auto address =
        words.size() == 2 ? net::ParseServerAddress(words[0].toStdString()) : std::nullopt;
    const auto code = words.size() == 2 ? net::CheckedCode(words[1].toStdString()) : std::nullopt;
    if (!address || !code) {
      Tell(QString::fromUtf8(kNetMatchTitle), QString::fromUtf8(kNetWatchUsage), kPictureError);
      if (state_.MatchInProgress) ResumeHand();
      return;
    }
    WatchTable(*address, *code);
    return;
  }
  JoinInvitation(std::exchange(joinArgs_, {}));
}

}  // namespace tarvelis
