// tarvelis-server: the tables behind a WebSocket port. Everything the
// protocol says is in Hall; this file only carries text between sockets and
// the hall, keeps the clock, and writes the tables' files once a second.
//
//   tarvelis-server [--listen 127.0.0.1:7777] [--data FOLDER] [--cert F --key F]
//                   [--absent-seconds 60] [--move-seconds 120] [--max-tables N]
//                   [--stop-after SECONDS] [--page FOLDER]
//
// The same port serves the browser's page (see page_server.h) from FOLDER,
// or from the page installed beside the binary.
// Port 0 lets the system pick a free port; the first line printed is always
// "listening HOST:PORT".
#include <sys/resource.h>

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
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <deque>
#include <limits>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "server/epoll_dispatcher.h"
#include "server/hall.h"
#include "server/page_server.h"

namespace {

using tarvelis::server::Hall;
using tarvelis::server::HallOptions;

volatile std::sig_atomic_t g_stop = 0;

constexpr std::size_t kFilesPerTick = 20;
constexpr std::size_t kMaxHandlingSamples = 1 << 22;

void OnSignal(int) {
  g_stop = 1;
}

// Each client holds a socket; a thousand tables need some four thousand.
void RaiseOpenFileLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

struct Options {
  QString Host = "127.0.0.1";
  quint16 Port = 7777;
  QString Cert;
  QString Key;
  HallOptions Hall;
  int StopAfterSeconds = 0;
  QString PageFolder;
};

bool SplitHostPort(const QString& text, QString& host, quint16& port) {
  const int colon = text.lastIndexOf(':');
  if (colon <= 0) return false;
  host = text.left(colon);
  if (host.startsWith('[') && host.endsWith(']')) host = host.mid(1, host.size() - 2);
  bool ok = false;
  const uint value = text.mid(colon + 1).toUInt(&ok);
  if (!ok || value > 65535) return false;
  port = static_cast<quint16>(value);
  return true;
}

bool ParseOptions(const QStringList& args, Options& o) {
  o.Hall.Folder = "tarvelis-tables";
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    auto seconds = [&](std::int64_t& out) {
      bool ok = false;
      const int v = args[++i].toInt(&ok);
      if (!ok || v < 0) return false;
      out = std::int64_t{v} * 1000;
      return true;
    };
    if (a == "--listen" && hasValue) {
      if (!SplitHostPort(args[++i], o.Host, o.Port)) return false;
    } else if (a == "--cert" && hasValue) {
      o.Cert = args[++i];
    } else if (a == "--key" && hasValue) {
      o.Key = args[++i];
    } else if (a == "--data" && hasValue) {
      o.Hall.Folder = args[++i].toStdString();
    } else if (a == "--absent-seconds" && hasValue) {
      if (!seconds(o.Hall.Timers.AbsentMs)) return false;
    } else if (a == "--move-seconds" && hasValue) {
      if (!seconds(o.Hall.Timers.MoveMs)) return false;
    } else if (a == "--max-tables" && hasValue) {
      bool ok = false;
      o.Hall.MaxTables = args[++i].toUInt(&ok);
      if (!ok) return false;
    } else if (a == "--page" && hasValue) {
      o.PageFolder = args[++i];
    } else if (a == "--stop-after" && hasValue) {
      bool ok = false;
      o.StopAfterSeconds = args[++i].toInt(&ok);
      if (!ok || o.StopAfterSeconds < 0) return false;
    } else {
      return false;
    }
  }
  return o.Cert.isEmpty() == o.Key.isEmpty();
}

// The tables' files are written by a thread of their own, so the disk's
// waits (each file is synced before it replaces the old one) never hold up a
// move. Jobs for one file are written in the order they were made.
class FileWriter {
 public:
  FileWriter() : thread_([this] { Loop(); }) {}
  ~FileWriter() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  void Add(std::vector<Hall::FileJob> jobs) {
    if (jobs.empty()) return;
    {
      std::lock_guard lock(mutex_);
      for (auto& job : jobs) jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
  }

  std::size_t Waiting() {
    std::lock_guard lock(mutex_);
    return jobs_.size();
  }

 private:
  // Runs until stopped, and then until every job handed over is written.
  void Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      Hall::FileJob job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      if (!tarvelis::server::WriteFileJob(job)) {
        std::fprintf(stderr, "tarvelis-server: cannot write %s\n", job.Path.c_str());
      }
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Hall::FileJob> jobs_;
  bool stopping_ = false;
  std::thread thread_;
};

class Front : public QObject {
 public:
  Front(const Options& o, QWebSocketServer::SslMode mode)
      : hall_(o.Hall), server_(QStringLiteral("tarvelis"), mode) {
    clock_.start();
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
  Hall& Tables() { return hall_; }
  std::int64_t Now() const { return clock_.elapsed(); }

  void Flush() {
    for (auto& [conn, text] : hall_.TakeSends()) {
      const auto it = sockets_.find(conn);
      if (it != sockets_.end()) it->second->sendTextMessage(QString::fromStdString(text));
    }
  }

 private:
  void Accept() {
    while (QWebSocket* socket = server_.nextPendingConnection()) {
      const int conn = ++lastConn_;
      // The reader refuses anything longer anyway; Qt stops it sooner.
      socket->setMaxAllowedIncomingMessageSize(tarvelis::server::kMaxMessageBytes * 2);
      socket->setMaxAllowedIncomingFrameSize(tarvelis::server::kMaxMessageBytes * 2);
      sockets_[conn] = socket;
      hall_.Opened(conn);
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
        hall_.Closed(conn, Now());
        Flush();
        socket->deleteLater();
      });
    }
  }

  Hall hall_;
  QWebSocketServer server_;
  QElapsedTimer clock_;
  std::unordered_map<int, QWebSocket*> sockets_;
  int lastConn_ = 0;
  std::vector<std::int64_t> handled_;  // microseconds
};

}  // namespace

int main(int argc, char** argv) {
  // A loop that wakes only for the sockets with something to say: with
  // thousands of connections Qt's own loop spends its time polling them all.
  QCoreApplication::setEventDispatcher(new tarvelis::server::EpollDispatcher);
  QCoreApplication app(argc, argv);
  Options o;
  if (!ParseOptions(app.arguments(), o)) {
    std::fprintf(stderr,
                 "usage: tarvelis-server [--listen HOST:PORT] [--data FOLDER] [--cert FILE --key "
                 "FILE] [--absent-seconds S] [--move-seconds S] [--max-tables N] "
                 "[--stop-after S] [--page FOLDER]\n");
    return 2;
  }
  RaiseOpenFileLimit();
  std::error_code ec;
  std::filesystem::create_directories(o.Hall.Folder, ec);
  const bool tls = !o.Cert.isEmpty();
  Front front(o, tls ? QWebSocketServer::SecureMode : QWebSocketServer::NonSecureMode);
  // One port for the page and the tables: the page server hands WebSockets on.
  tarvelis::server::PageFiles pageFiles;
  const QString pageFolder = o.PageFolder.isEmpty()
                                 ? tarvelis::server::DefaultPageFolder(app.applicationDirPath())
                                 : o.PageFolder;
  if (!pageFolder.isEmpty() && !pageFiles.Load(pageFolder) && !o.PageFolder.isEmpty()) {
    std::fprintf(stderr, "tarvelis-server: no page in %s\n", qPrintable(pageFolder));
    return 1;
  }
  tarvelis::server::PageServer pages(front.Server(), pageFiles);
  if (tls) {
    QFile certFile(o.Cert);
    QFile keyFile(o.Key);
    if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "tarvelis-server: cannot read the certificate or the key\n");
      return 1;
    }
    const QByteArray keyBytes = keyFile.readAll();
    QSslKey key(keyBytes, QSsl::Rsa);
    if (key.isNull()) key = QSslKey(keyBytes, QSsl::Ec);
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.setLocalCertificate(QSslCertificate(certFile.readAll()));
    conf.setPrivateKey(key);
    conf.setPeerVerifyMode(QSslSocket::VerifyNone);
    front.Server().setSslConfiguration(conf);
    pages.SetTls(conf);
  }
  const int loaded = front.Tables().Load(front.Now());
  if (!pages.listen(QHostAddress(o.Host), o.Port)) {
    std::fprintf(stderr, "tarvelis-server: cannot listen on %s:%u: %s\n", qPrintable(o.Host),
                 o.Port, qPrintable(pages.errorString()));
    return 1;
  }
  std::printf("listening %s:%u\n", qPrintable(o.Host), pages.serverPort());
  std::printf("tables resumed %d\n", loaded);
  std::fflush(stdout);

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, &front, [&] {
    front.Tables().Tick(front.Now());
    front.Flush();
    if (g_stop != 0 || (o.StopAfterSeconds > 0 && front.Now() >= o.StopAfterSeconds * 1000LL)) {
      app.quit();
    }
  });
  tick.start(200);
  // A few tables' files every tick, in turn, each table's at most every
  // five seconds: a move costs no disk wait, the loop never stops long to
  // write, and a crash loses only a table's last seconds of play. While the
  // writer is behind, no new jobs pile up.
  FileWriter writer;
  QTimer save;
  QObject::connect(&save, &QTimer::timeout, &front, [&] {
    if (writer.Waiting() == 0) writer.Add(front.Tables().TakeFileJobs(kFilesPerTick, front.Now()));
  });
  save.start(50);
  const int status = app.exec();
  // Stopping, every changed table gets its file, however recent its last.
  writer.Add(front.Tables().TakeFileJobs(front.Tables().TableCount(),
                                         std::numeric_limits<std::int64_t>::max() / 2));
  front.PrintHandling();
  return status;
}
