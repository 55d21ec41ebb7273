// tarvelis-server: the tables behind a WebSocket port. Everything the
// protocol says is in Hall; this file only carries text between sockets and
// the hall, keeps the clock, writes the tables' files, and bounds what each
// connection may cost: its unsent output, and the descriptors it holds.
//
//   tarvelis-server [--listen 127.0.0.1:7777] [--data FOLDER] [--cert F --key F]
//                   [--absent-seconds 60] [--move-seconds 120] [--max-tables N]
//                   [--stop-after SECONDS] [--page FOLDER] [--ratings FILE]
//                   and the limits of kServerUsage (server_options.cpp)
//
// The same port serves the browser's page (see page_server.h) from FOLDER,
// or from the page installed beside the binary.
// Port 0 lets the system pick a free port; the first line printed is always
// "listening HOST:PORT".
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketServer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <limits>
#include <set>
#include <unordered_map>
#include <vector>

#include "server/command_line.h"
#include "server/epoll_dispatcher.h"
#include "server/file_writer.h"
#include "server/guarded_socket.h"
#include "server/hall.h"
#include "server/move_pool.h"
#include "server/page_server.h"
#include "server/ratings_thread.h"
#include "server/server_options.h"

namespace {

using tarvelis::server::FileWriter;
using tarvelis::server::Hall;
using tarvelis::server::ServerOptions;

volatile std::sig_atomic_t g_stop = 0;

constexpr std::size_t kFilesPerTick = 20;
constexpr std::size_t kMaxHandlingSamples = 1 << 22;
// The descriptors the server holds besides its connections: the listening
// socket, the loop's own, the standard streams, the files being written.
constexpr long kBaseDescriptors = 32;
// What one connection's wake of the loop reads at most.
constexpr qint64 kReadBufferBytes = 16 * 1024;
// A connection asked to close that has not closed after this long is cut.
constexpr std::int64_t kCloseGraceMs = 5000;
// A client that opens a TCP connection and never finishes its handshake
// holds a descriptor only this long.
constexpr int kHandshakeMs = 5000;
// Shares of the newcomers' listings sent in one call of Flush, each half
// the unsent bound: half a megabyte with the default bound.
constexpr std::size_t kListingShares = 16;

void OnSignal(int) {
  g_stop = 1;
}

class Front : public QObject {
 public:
  Front(const ServerOptions& o, QWebSocketServer::SslMode mode, long maxSockets)
      : hall_(o.Hall),
        server_(QStringLiteral("tarvelis"), mode),
        maxUnsent_(o.MaxUnsentBytes),
        maxSockets_(maxSockets) {
    clock_.start();
    server_.setHandshakeTimeout(kHandshakeMs);
    // A newcomer's listing fills half of what a connection may leave unread,
    // topped up as soon as the system has taken it (ListNewcomers): a reader
    // that keeps up has the whole room at once, one that does not is never
    // sent past the bound by its listing.
    hall_.PaceListings([this](int conn) { return ListingRoom(conn); });
    connect(&server_, &QWebSocketServer::newConnection, this, [this] { Accept(); });
  }

  QWebSocketServer& Server() { return server_; }

  // How long the server took over each message, from its text to the texts
  // it sent: the server's own share of a move's round trip.
  void PrintHandling() {
    if (handled_.empty()) return;
    std::sort(handled_.begin(), handled_.end());
    const auto at = [this](double q) {
      return handled_[static_cast<std::size_t>(q * static_cast<double>(handled_.size() - 1))];
    };
    std::printf("handled %zu messages: median %lld us, p99 %lld us\n", handled_.size(),
                static_cast<long long>(at(0.5)), static_cast<long long>(at(0.99)));
    std::fflush(stdout);
  }
  // The server's periodic line: what it holds and what it turned away.
  void PrintCounts() {
    const tarvelis::server::HallCounts c = hall_.Counts();
    std::printf(
        "tables %zu connections %zu addresses %zu people %zu expired %llu refused %llu cut %llu "
        "failed-lookups %llu failed-writes %llu\n",
        c.Tables, c.Connections, c.Addresses, c.People, static_cast<unsigned long long>(c.Expired),
        static_cast<unsigned long long>(c.Refused + refused_),
        static_cast<unsigned long long>(cut_ + tarvelis::server::GuardedSocket::Closed()),
        static_cast<unsigned long long>(c.FailedLookups),
        static_cast<unsigned long long>(c.FailedWrites));
    std::fflush(stdout);
  }
  Hall& Tables() { return hall_; }
  // The computer's moves weighed by the pool, played at their tables.
  void MovesComputed() {
    hall_.MovesComputed(Now());
    Flush();
  }
  std::int64_t Now() const { return clock_.elapsed(); }
  void SetWriter(FileWriter* writer) { writer_ = writer; }

  // The writer's outcomes back to the hall, which may let news go out.
  void TakeWritten() {
    if (writer_ == nullptr) return;
    for (const auto& [code, ok] : writer_->TakeDone()) hall_.FileWritten(code, ok, Now());
    Flush();
  }

  void Flush() {
    // A hand just closed: its file goes to the writer at once, its news
    // when the file is written.
    if (writer_ != nullptr) writer_->Add(hall_.TakeUrgentFileJobs(Now()), true);
    SendAll();
    ListNewcomers();
  }

 private:
  // The hall's texts to their sockets; false when it had nothing to say.
  bool SendAll() {
    bool any = false;
    // Closing a connection can give the hall more to say (a seat dropped);
    // a few rounds carry it all.
    for (int round = 0; round < 4; ++round) {
      auto sends = hall_.TakeSends();
      auto closes = hall_.TakeCloses();
      if (sends.empty() && closes.empty()) return any;
      any = true;
      for (auto& [conn, text] : sends) {
        const auto it = sockets_.find(conn);
        if (it == sockets_.end()) continue;
        // Qt hands the text to the system at its next turn of the loop, so
        // the unsent output is judged by Sweep, not here.
        it->second->sendTextMessage(QString::fromStdString(text));
      }
      for (const int conn : closes) {
        const auto it = sockets_.find(conn);
        if (it == sockets_.end() || closing_.count(conn) != 0) continue;
        closing_[conn] = Now();
        it->second->close();
      }
      Cut();
    }
    return any;
  }

  // The newcomers' listings go on while the system takes what they were
  // sent: Qt would hand it over only at the loop's next turn, and a listing
  // waiting for the room's next round took a second to reach a full room's
  // newcomer. Some shares a call in all, at least one each, so that
  // listings never hold the loop longer than a round of them did.
  void ListNewcomers() {
    std::vector<int> movable = MovableListings();
    const std::size_t shares =
        std::max<std::size_t>(1, kListingShares / std::max<std::size_t>(1, movable.size()));
    for (std::size_t share = 0; share < shares && !movable.empty(); ++share) {
      hall_.ContinueListings();
      if (!SendAll()) return;
      movable = MovableListings();
    }
  }

  // The listing connections whose output the system has taken, once handed
  // over. One whose reader has not is left to the room's next round: trying
  // it at every message would cost a system call each, however many there
  // are.
  std::vector<int> MovableListings() {
    std::vector<int> movable;
    for (const int conn : hall_.ListingConnections()) {
      if (stalled_.count(conn) != 0) continue;
      const auto it = sockets_.find(conn);
      // A failed write closes the socket at once, and forgets it.
      if (it != sockets_.end()) it->second->flush();
      if (ListingRoom(conn) == 0) {
        stalled_.insert(conn);
      } else {
        movable.push_back(conn);
      }
    }
    return movable;
  }

  // What a connection's listing may add now: half the unsent bound, less
  // what it has not yet taken.
  std::size_t ListingRoom(int conn) const {
    const auto it = sockets_.find(conn);
    if (it == sockets_.end()) return 0;
    return static_cast<std::size_t>(
        std::max<qint64>(0, maxUnsent_ / 2 - it->second->bytesToWrite()));
  }

 public:
  // Connections whose output piles up unread are cut: Qt answers pings by
  // itself, so this also bounds a ping flood that never reads its pongs.
  // Connections asked to close that linger are cut too.
  void Sweep() {
    const std::int64_t now = Now();
    std::vector<int> over;
    for (const auto& [conn, socket] : sockets_) {
      if (socket->bytesToWrite() > maxUnsent_) over.push_back(conn);
    }
    // Qt hands its buffer to the system only when the loop next comes round,
    // so a full room's news and a newcomer's listing, made in the same turn,
    // may pass the bound in a reader that keeps up: what the system takes now
    // was never left unread. A failed write closes the socket at once (and
    // forgets it), so each is looked up afresh.
    for (const int conn : over) {
      const auto it = sockets_.find(conn);
      if (it == sockets_.end()) continue;
      it->second->flush();
      const auto still = sockets_.find(conn);
      if (still != sockets_.end() && still->second->bytesToWrite() > maxUnsent_)
        doomed_.push_back(conn);
    }
    // The room's rounds keep to this finer clock: a change of the room held
    // for the tables' tick would wait up to 200 ms before going out.
    stalled_.clear();
    hall_.RoomRound(now);
    for (const auto& [conn, since] : closing_) {
      if (now - since >= kCloseGraceMs) doomed_.push_back(conn);
    }
    Cut();
    Flush();
  }

 private:
  void Cut() {
    for (const int conn : std::exchange(doomed_, {})) {
      const auto it = sockets_.find(conn);
      if (it == sockets_.end()) continue;
      ++cut_;
      // Emits disconnected, which forgets the connection.
      it->second->abort();
    }
  }

  void Accept() {
    while (QWebSocket* socket = server_.nextPendingConnection()) {
      // Past the descriptors the connections may have, and past its
      // address's share, a connection is closed unheard.
      const int conn = ++lastConn_;
      if (static_cast<long>(sockets_.size()) >= maxSockets_ ||
          !hall_.Opened(conn, Now(), tarvelis::server::AddressKey(socket->peerAddress()))) {
        if (static_cast<long>(sockets_.size()) >= maxSockets_) ++refused_;
        socket->abort();
        socket->deleteLater();
        continue;
      }
      // The reader refuses anything longer anyway; Qt stops it sooner.
      socket->setMaxAllowedIncomingMessageSize(tarvelis::server::kMaxMessageBytes * 2);
      socket->setMaxAllowedIncomingFrameSize(tarvelis::server::kMaxMessageBytes * 2);
      // A flood is read a little at a time, so each wake of the loop costs
      // little and the other connections get their turn between.
      socket->setReadBufferSize(kReadBufferBytes);
      sockets_[conn] = socket;
      connect(socket, &QWebSocket::textMessageReceived, this, [this, conn](const QString& text) {
        QElapsedTimer handling;
        handling.start();
        hall_.Received(conn, text.toStdString(), Now());
        Flush();
        if (handled_.size() < kMaxHandlingSamples)
          handled_.push_back(handling.nsecsElapsed() / 1000);
      });
      connect(socket, &QWebSocket::binaryMessageReceived, this, [this, conn](const QByteArray&) {
        hall_.Received(conn, "", Now());
        Flush();
      });
      connect(socket, &QWebSocket::disconnected, this, [this, conn, socket] {
        sockets_.erase(conn);
        closing_.erase(conn);
        hall_.Closed(conn, Now());
        socket->deleteLater();
        // Not flushed here: this may run inside Flush; the next one carries it.
      });
    }
  }

  Hall hall_;
  FileWriter* writer_ = nullptr;
  QWebSocketServer server_;
  QElapsedTimer clock_;
  std::unordered_map<int, QWebSocket*> sockets_;
  std::unordered_map<int, std::int64_t> closing_;  // asked to close, and when
  std::vector<int> doomed_;
  std::set<int> stalled_;  // listings left to the room's next round
  qint64 maxUnsent_;
  long maxSockets_;
  std::uint64_t cut_ = 0;
  std::uint64_t refused_ = 0;
  int lastConn_ = 0;
  std::vector<std::int64_t> handled_;  // microseconds
};

// Five times a second the tables' clocks, the log line now and then, and the
// end when asked; every 50 ms the connections that cost too much.
void StartTimers(Front& front, const ServerOptions& o, QCoreApplication& app) {
  auto* tick = new QTimer(&front);
  QObject::connect(tick, &QTimer::timeout, &front,
                   [&front, &app, logMs = o.LogSeconds * 1000LL,
                    stopMs = o.StopAfterSeconds * 1000LL, loggedAt = std::int64_t{0}]() mutable {
                     front.Tables().Tick(front.Now());
                     front.Flush();
                     if (front.Now() - loggedAt >= logMs) {
                       loggedAt = front.Now();
                       front.PrintCounts();
                     }
                     if (g_stop != 0 || (stopMs > 0 && front.Now() >= stopMs)) app.quit();
                   });
  tick->start(200);
  auto* sweep = new QTimer(&front);
  QObject::connect(sweep, &QTimer::timeout, &front, [&front] { front.Sweep(); });
  // The room's rounds are as long as the sweep: a coarse timer firing a
  // millisecond early would skip every other round.
  sweep->setTimerType(Qt::PreciseTimer);
  sweep->start(50);
}

// Stopping, every changed table gets its file, however recent its last.
void WriteEveryTable(Front& front, FileWriter& writer) {
  front.SetWriter(nullptr);
  writer.Drain();
  for (const auto& [code, ok] : writer.TakeDone()) front.Tables().FileWritten(code, ok, 0);
  writer.Add(front.Tables().TakeFileJobs(front.Tables().TableCount(),
                                         std::numeric_limits<std::int64_t>::max() / 2));
}

// The ratings' database, opened before the server listens: a file that is no
// database, or one of a newer server, stops it here, so its ratings are
// never guessed at nor written over.
std::unique_ptr<tarvelis::server::RatingsThread> OpenRatings(const ServerOptions& o) {
  const std::string path =
      o.Ratings.isEmpty() ? (o.Hall.Folder / "ratings.sqlite").string() : o.Ratings.toStdString();
  std::string error;
  auto ratings = tarvelis::server::RatingsThread::Open(path, error);
  if (!ratings) {
    std::fprintf(stderr, "tarvelis-server: cannot use the ratings' database: %s\n", error.c_str());
  }
  return ratings;
}

// The browser's page from --page, or the one installed beside the binary
// when there is one; false when the folder given holds none.
bool LoadPage(const ServerOptions& o, const QString& binaryFolder,
              tarvelis::server::PageFiles& files) {
  const QString folder =
      o.PageFolder.isEmpty() ? tarvelis::server::DefaultPageFolder(binaryFolder) : o.PageFolder;
  if (!folder.isEmpty() && !files.Load(folder) && !o.PageFolder.isEmpty()) {
    std::fprintf(stderr, "tarvelis-server: no page in %s\n", qPrintable(folder));
    return false;
  }
  return true;
}

bool ReadTls(const ServerOptions& o, QSslConfiguration& conf) {
  QFile certFile(o.Cert);
  QFile keyFile(o.Key);
  if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "tarvelis-server: cannot read the certificate or the key\n");
    return false;
  }
  const QByteArray keyBytes = keyFile.readAll();
  QSslKey key(keyBytes, QSsl::Rsa);
  if (key.isNull()) key = QSslKey(keyBytes, QSsl::Ec);
  conf = QSslConfiguration::defaultConfiguration();
  conf.setLocalCertificate(QSslCertificate(certFile.readAll()));
  conf.setPrivateKey(key);
  conf.setPeerVerifyMode(QSslSocket::VerifyNone);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // A loop that wakes only for the sockets with something to say: with
  // thousands of connections Qt's own loop spends its time polling them all.
  QCoreApplication::setEventDispatcher(new tarvelis::server::EpollDispatcher);
  QCoreApplication app(argc, argv);
  ServerOptions o;
  if (!tarvelis::server::ParseServerOptions(app.arguments(), o)) {
    std::fputs(tarvelis::server::kServerUsage, stderr);
    return 2;
  }
  // The tables' files hold the seats' secrets: whatever the server makes is
  // its user's alone.
  umask(077);
  if (const std::string problem = tarvelis::server::PrepareFolder(o.Hall.Folder);
      !problem.empty()) {
    std::fprintf(stderr, "tarvelis-server: %s\n", problem.c_str());
    return 1;
  }
  auto ratings = OpenRatings(o);
  if (!ratings) return 1;
  o.Hall.Ratings = ratings.get();
  const long files = tarvelis::server::RaiseOpenFileLimit();
  const long maxSockets = std::max(1L, files - kBaseDescriptors - o.ReserveFiles);
  const bool tls = !o.Cert.isEmpty();
  // The computer's moves are weighed by the pool's threads; each batch of
  // results is played on this thread, as a message is.
  tarvelis::server::MovePool pool(o.MoveThreads);
  o.Hall.Pool = &pool;
  Front front(o, tls ? QWebSocketServer::SecureMode : QWebSocketServer::NonSecureMode, maxSockets);
  // However main ends, no worker is left to wake the front once it is gone.
  struct PoolStopper {
    tarvelis::server::MovePool& Pool;
    ~PoolStopper() { Pool.Stop(); }
  } stopper{pool};
  pool.SetWake([&front] {
    QMetaObject::invokeMethod(
        &front, [&front] { front.MovesComputed(); }, Qt::QueuedConnection);
  });
  // One port for the page and the tables: the page server hands WebSockets on.
  tarvelis::server::PageFiles pageFiles;
  if (!LoadPage(o, app.applicationDirPath(), pageFiles)) return 1;
  tarvelis::server::PageServer pages(front.Server(), pageFiles);
  pages.SetLimits(o.Limits);
  if (tls) {
    QSslConfiguration conf;
    if (!ReadTls(o, conf)) return 1;
    front.Server().setSslConfiguration(conf);
    pages.SetTls(conf);
  }
  std::vector<std::string> problems;
  const int loaded = front.Tables().Load(front.Now(), &problems);
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "tarvelis-server: damaged table file %s\n", problem.c_str());
  }
  if (!pages.listen(QHostAddress(o.Host), o.Port)) {
    std::fprintf(stderr, "tarvelis-server: cannot listen on %s:%u: %s\n", qPrintable(o.Host),
                 o.Port, qPrintable(pages.errorString()));
    return 1;
  }
  std::printf("listening %s:%u\n", qPrintable(o.Host), pages.serverPort());
  std::printf("tables resumed %d\n", loaded);
  std::printf("connections at most %ld\n", maxSockets);
  std::fflush(stdout);

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  StartTimers(front, o, app);
  // A few tables' files every tick, in turn, each table's at most every
  // five seconds: a move costs no disk wait, the loop never stops long to
  // write, and a crash loses only a table's last seconds of play. While the
  // writer is behind, no new jobs pile up but those of hands just closed,
  // whose news waits for them.
  FileWriter writer([&front] {
    QMetaObject::invokeMethod(
        &front, [&front] { front.TakeWritten(); }, Qt::QueuedConnection);
  });
  front.SetWriter(&writer);
  QTimer save;
  QObject::connect(&save, &QTimer::timeout, &front, [&] {
    front.TakeWritten();
    if (writer.Waiting() == 0) writer.Add(front.Tables().TakeFileJobs(kFilesPerTick, front.Now()));
  });
  save.start(50);
  const int status = app.exec();
  // No move comes back now: a table waiting for one is written waiting.
  pool.Stop();
  WriteEveryTable(front, writer);
  front.PrintCounts();
  front.PrintHandling();
  return status;
}
