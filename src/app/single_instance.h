// One copy of the game per data folder: the copy holding the folder listens on
// a local socket of the user's own, so that a second start can bring it to
// the front and hand it the invitation it was started with.
#pragma once

#include <QObject>
#include <QStringList>
#include <filesystem>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace tarvelis {

// Knocks at the copy holding `folder` and hands it `invitation` (the words
// after "--join", or none). True when the copy took it.
bool KnockAtRunningCopy(const std::filesystem::path& folder, const QStringList& invitation);

// The running copy's side: `knocked` runs for each knock, with the words it
// carried (none for a plain knock). The words come from any program of the
// user's: they are only read as an invitation, which the player is asked
// about.
class SecondCopyListener : public QObject {
 public:
  SecondCopyListener(const std::filesystem::path& folder,
                     std::function<void(const QStringList&)> knocked, QObject* parent);
  bool Listening() const;

 private:
  void Read(QLocalSocket* knock);

  QLocalServer* server_;
  std::function<void(const QStringList&)> knocked_;
};

}  // namespace tarvelis
