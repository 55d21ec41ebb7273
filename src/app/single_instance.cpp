// The local socket between the copy that holds a data folder and a second
// start on the same folder.
#include "app/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <memory>
#include <utility>

#include "app/program.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

// Far more than an address, a code, a seat and a name: a knock that sends
// more is not a second start of this game, and is dropped.
constexpr qint64 kLongestKnock = 2048;
constexpr int kKnockMs = 2000;
// The first line of a knock that carries an invitation; the words follow, one a line.
constexpr char kJoinLine[] = "join";

// One per user and folder.
QString FrontSocketName(const std::filesystem::path& folder) {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(folder.string()), QCryptographicHash::Sha1)
          .toHex()
          .left(16);
  return QStringLiteral("tarvelis-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

QStringList WordsOf(const QByteArray& knock) {
  const QStringList lines = QString::fromUtf8(knock).split(QLatin1Char('\n'));
  if (lines.size() < 2 || lines.first() != QLatin1String(kJoinLine)) return {};
  QStringList words = lines.mid(1);
  // The knock ends with a line end: its last, empty piece is no word.
  if (!words.isEmpty() && words.last().isEmpty()) words.removeLast();
  return words;
}

}  // namespace

bool KnockAtRunningCopy(const std::filesystem::path& folder, const QStringList& invitation) {
  QLocalSocket knock;
  knock.connectToServer(FrontSocketName(folder));
  if (!knock.waitForConnected(kKnockMs)) return false;
  if (!invitation.isEmpty()) {
    QByteArray text = QByteArray(kJoinLine) + '\n';
    for (const QString& word : invitation) {
      // A line end inside a word would make two words of it.
      QString clean = word;
      clean.replace(QLatin1Char('\n'), QLatin1Char(' '))
          .replace(QLatin1Char('\r'), QLatin1Char(' '));
      text += clean.toUtf8() + '\n';
    }
    if (text.size() > kLongestKnock) return false;
    knock.write(text);
    if (!knock.waitForBytesWritten(kKnockMs)) return false;
  }
  knock.disconnectFromServer();
  if (knock.state() != QLocalSocket::UnconnectedState) knock.waitForDisconnected(kKnockMs);
  return true;
}

SecondCopyListener::SecondCopyListener(const std::filesystem::path& folder,
                                       std::function<void(const QStringList&)> knocked,
                                       QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), knocked_(std::move(knocked)) {
  const QString name = FrontSocketName(folder);
  // A socket left by a copy that died: the lock says none lives.
  QLocalServer::removeServer(name);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name)) return;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* knock = server_->nextPendingConnection()) Read(knock);
  });
}

void SecondCopyListener::Read(QLocalSocket* knock) {
  // The knock is read whole when the other side closes it; one that says too
  // much, or stays open, is dropped.
  auto text = std::make_shared<QByteArray>();
  auto done = std::make_shared<bool>(false);
  const auto finish = [this, knock, text, done] {
    if (std::exchange(*done, true)) return;
    *text += knock->readAll();
    const QStringList words = text->size() > kLongestKnock ? QStringList() : WordsOf(*text);
    knock->deleteLater();
    knocked_(words);
  };
  connect(knock, &QLocalSocket::readyRead, knock, [knock, text] {
    *text += knock->readAll();
    if (text->size() > kLongestKnock) knock->abort();
  });
  connect(knock, &QLocalSocket::disconnected, this, finish);
  QTimer::singleShot(kKnockMs * 2, knock, [knock] { knock->abort(); });
  // A short knock may have come and gone before it was picked up.
  if (knock->state() == QLocalSocket::UnconnectedState) finish();
}

bool SecondCopyListener::Listening() const {
  return server_->isListening();
}

void Program::ListenForSecondCopies() {
  new SecondCopyListener(
      dataFolder_, [this](const QStringList& words) { OnInvitation(words); }, mesa_);
}

}  // namespace tarvelis
