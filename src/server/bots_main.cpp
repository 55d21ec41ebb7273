// tarvelis-bots: a crowd of clients for the table server. Each table is
// created with four people's seats, one bot per seat; they play to the end of
// the match, some dropping and coming back with their seat's token, and the
// program reports what finished and how long each move took to come back.
//
//   tarvelis-bots --server 127.0.0.1:7777 --tables N [--json] [--drop P]
//                 [--target T] [--seed S] [--timeout SECONDS] [--think MS]
//                 [--seats KINDS] [--auto] [--room [--probe] [--arrivals N] [--first N]]
//
// --room has every bot enter the server's room with a key of its own and
// take the quick seat: four bots fill each public table, which starts by
// itself; they come in N a second (--arrivals, 40). --first numbers the bots
// (their keys and names) from N, so several processes can fill one room.
// --probe then measures the room once every bot sits: a last client enters
// (the bytes and the time the room takes to come whole), says a few lines and
// then changes its name a few times, each timed from the asking to each bot
// that hears it; the bots stop there, their matches unfinished.
//
// --think makes each bot wait a while before it answers, between half and one
// and a half times MS, as a person would; without it the bots answer at once
// and measure how many moves a second the server can take.
// A bot answers one move in two with the tile its own rule picks (the highest
// playable tile) and the other by leaving the turn to the server's computer
// player, the way the continue button does at the table; --auto leaves it
// every turn. --seats gives the four seats' kinds, one letter each (p a
// person's, played by a bot; e an expert; c the computer), seat 1 a person's. Only loopback
// servers are accepted: this is a measuring tool, not a player.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "protocol/json.h"
#include "protocol/protocol.h"
#include "server/bots_options.h"
#include "server/bots_probe.h"
#include "server/command_line.h"
#include "server/epoll_dispatcher.h"

namespace {

using tarvelis::server::BotsOptions;
using tarvelis::server::Json;
using tarvelis::server::ParseJson;
using tarvelis::server::RoomProbe;

class Crowd;

struct Bot {
  Crowd* Owner = nullptr;
  int Table = 0;
  int Seat = 0;
  QWebSocket* Socket = nullptr;
  std::string Token;
  bool Seated = false;
  int Answers = 0;
  // The move sent and when, until its tile or pass comes back.
  int SentMove = 0;
  std::int64_t SentAt = -1;
  bool SentAuto = false;
  std::string Code;  // the table the room's quick seat gave it
};

// A table as the room's bots find it, by its code.
struct RoomTableSeen {
  bool Finished = false;
  std::string LastTotals;
};

struct BotTable {
  std::string Code;
  std::array<Bot, 5> Bots;
  int SeatedCount = 0;
  bool Started = false;
  bool Finished = false;
  std::string LastTotals;  // as the last hand's end gave them
};

constexpr int kListingWaitMs = 3000;

class Crowd : public QObject {
 public:
  explicit Crowd(const BotsOptions& o)
      : o_(o), rng_(o.Seed), tables_(static_cast<std::size_t>(o.Tables)) {
    clock_.start();
  }

  void Run() {
    // Tables come in batches, so the connections do not all knock at once.
    connect(&ramp_, &QTimer::timeout, this, [this] {
      for (int i = 0; i < (o_.Room ? 1 : 20) && next_ < o_.Tables; ++i) OpenTable(next_++);
      if (next_ >= o_.Tables) ramp_.stop();
    });
    // People come into a room a few at a time: a table's four each tick.
    ramp_.start(o_.Room ? 4000 / o_.Arrivals : 10);
    connect(&deadline_, &QTimer::timeout, this, [this] {
      ++errors_;
      Finish();
    });
    deadline_.setSingleShot(true);
    deadline_.start(o_.TimeoutSeconds * 1000);
  }

  int ExitStatus() const { return finished_ == o_.Tables && errors_ == 0 ? 0 : 1; }

 private:
  QUrl Url() const {
    QUrl url;
    url.setScheme("ws");
    url.setHost(o_.Host);
    url.setPort(o_.Port);
    return url;
  }

  void OpenTable(int t) {
    BotTable& table = tables_[static_cast<std::size_t>(t)];
    for (int seat = 1; seat <= 4; ++seat) {
      Bot& bot = table.Bots[static_cast<std::size_t>(seat)];
      bot.Owner = this;
      bot.Table = t;
      bot.Seat = seat;
      // In the room each bot finds its own chair.
      if (o_.Room)
        Connect(bot, [this, b = &bot] { EnterRoom(*b, o_.First + 4 * b->Table + b->Seat, true); });
    }
    if (o_.Room) return;
    // Seat 1 creates the table; the others join once it has a code.
    Connect(table.Bots[1], [this, t] {
      Json rules = Json::Object();
      if (o_.Target > 0) rules.Set("target", o_.Target);
      Json seats = Json::Array();
      for (const char kind : o_.Seats) {
        seats.Push(Json::Object().Set("kind", kind == 'p'   ? "person"
                                              : kind == 'e' ? "expert"
                                                            : "computer"));
      }
      Send(
          tables_[static_cast<std::size_t>(t)].Bots[1],
          Json::Object().Set("v", 1).Set("type", "create").Set("seats", seats).Set("rules", rules));
    });
  }

  template <class OnOpen>
  void Connect(Bot& bot, OnOpen onOpen) {
    auto* socket = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
    bot.Socket = socket;
    Bot* b = &bot;
    connect(socket, &QWebSocket::connected, this, onOpen);
    connect(socket, &QWebSocket::textMessageReceived, this, [this, b, socket](const QString& text) {
      if (b->Socket == socket) Received(*b, text.toStdString());
    });
    connect(socket, &QWebSocket::disconnected, this, [this, b, socket] {
      socket->deleteLater();
      if (b->Socket != socket) return;  // dropped on purpose and replaced
      b->Socket = nullptr;
      if (b != &probe_ && !MatchOver(*b)) {
        ++errors_;
        Note("a connection closed before its match ended");
      }
    });
    socket->open(Url());
  }

  // Enters the room with a key of the bot's own number, and asks for a chair.
  void EnterRoom(Bot& bot, int number, bool quick) {
    std::string key = std::to_string(number);
    key.insert(0, 64 - key.size(), '0');
    Send(bot, Json::Object()
                  .Set("v", 1)
                  .Set("type", "enter")
                  .Set("key", key)
                  .Set("name", "Bot" + std::to_string(number)));
    if (!quick) return;
    Json rules = Json::Object();
    if (o_.Target > 0) rules.Set("target", o_.Target);
    Send(bot, Json::Object().Set("v", 1).Set("type", "quick").Set("rules", rules));
  }

  const std::string& CodeOf(const Bot& bot) {
    return o_.Room ? bot.Code : tables_[static_cast<std::size_t>(bot.Table)].Code;
  }
  bool MatchOver(const Bot& bot) {
    return o_.Room ? seen_[bot.Code].Finished
                   : tables_[static_cast<std::size_t>(bot.Table)].Finished;
  }

  void Send(Bot& bot, const Json& message) {
    if (bot.Socket != nullptr) bot.Socket->sendTextMessage(QString::fromStdString(message.Dump()));
  }

  bool IsPerson(int seat) const { return o_.Seats[static_cast<std::size_t>(seat - 1)] == 'p'; }
  int Persons() const {
    return static_cast<int>(std::count(o_.Seats.begin(), o_.Seats.end(), 'p'));
  }

  void Note(const char* what) {
    if (!o_.JsonOut) std::fprintf(stderr, "tarvelis-bots: %s\n", what);
  }

  void Received(Bot& bot, const std::string& text) {
    // A table's bot has no use for the room's news of others: it is not read,
    // only searched for the probe's changes.
    if (&bot != &probe_ && text.rfind(R"({"v":1,"type":"room_)", 0) == 0) {
      if (probing_) measures_.HeardNews(text, NowUs());
      return;
    }
    const auto parsed = ParseJson(text, {1 << 20, 8, 512});
    const auto type = parsed ? parsed->StringAt("type", 32) : std::nullopt;
    if (!type) {
      ++errors_;
      Note("unreadable message");
      return;
    }
    const Json& m = *parsed;
    if (&bot == &probe_) {
      Probed(*type, text.size());
      return;
    }
    if (*type == "chat") measures_.Heard(m, NowUs());
    if (o_.Room && RoomReceived(bot, *type, m)) return;
    BotTable& table = tables_[static_cast<std::size_t>(bot.Table)];
    if (*type == "error") {
      ++errors_;
      const auto what = m.StringAt("error", 64);
      if (!o_.JsonOut)
        std::fprintf(stderr, "tarvelis-bots: error %s\n", what ? what->c_str() : "?");
    } else if (*type == "created") {
      table.Code = m.StringAt("code", 16).value_or("");
      for (int seat = 1; seat <= 4; ++seat) {
        if (!IsPerson(seat)) continue;
        Bot& b = table.Bots[static_cast<std::size_t>(seat)];
        auto join = [this, &b, &table] {
          Send(b, Json::Object()
                      .Set("v", 1)
                      .Set("type", "join")
                      .Set("code", table.Code)
                      .Set("seat", b.Seat)
                      .Set("name", "Bot" + std::to_string(b.Seat)));
        };
        if (seat == 1) {
          join();
        } else {
          Connect(b, join);
        }
      }
    } else if (*type == "seated") {
      bot.Token = m.StringAt("token", 64).value_or("");
      if (!bot.Seated) {
        bot.Seated = true;
        if (++table.SeatedCount == Persons() && !table.Started) {
          table.Started = true;
          Send(table.Bots[1], Json::Object().Set("v", 1).Set("type", "start"));
        }
      }
    } else if (*type == "asked") {
      if (o_.ThinkMs == 0) {
        Answer(bot, m);
      } else {
        const int wait =
            std::uniform_int_distribution<int>(o_.ThinkMs / 2, o_.ThinkMs * 3 / 2)(rng_);
        QWebSocket* socket = bot.Socket;
        Bot* b = &bot;
        QTimer::singleShot(wait, this, [this, b, socket, m] {
          if (b->Socket == socket) Answer(*b, m);
        });
      }
    } else if (*type == "laid" || *type == "passed") {
      const auto seat = m.IntAt("seat", 1, 4);
      const auto move = m.IntAt("move", 1, 1000);
      if (seat && *seat == bot.Seat && move && *move == bot.SentMove && bot.SentAt >= 0) {
        const std::int64_t took = clock_.nsecsElapsed() / 1000 - bot.SentAt;
        latencies_.push_back(took);
        (bot.SentAuto ? autoLatencies_ : tileLatencies_).push_back(took);
        bot.SentAt = -1;
      }
    } else if (*type == "hand_end" || *type == "table") {
      if (bot.Seat == 1 && m.Find("totals") != nullptr) table.LastTotals = m.Find("totals")->Dump();
    } else if (*type == "match_end") {
      if (bot.Seat == 1 && !table.Finished) {
        // The match's totals are those its last hand left.
        if (m.Find("totals") == nullptr || m.Find("totals")->Dump() != table.LastTotals) {
          ++errors_;
          Note("the match's totals differ from its last hand's");
        }
        table.Finished = true;
        ++finished_;
        if (m.IntAt("violations", 0, 1 << 30).value_or(1) != 0) {
          ++errors_;
          Note("the server found a fault in a match");
        }
        for (int seat = 1; seat <= 4; ++seat) {
          QWebSocket* s = table.Bots[static_cast<std::size_t>(seat)].Socket;
          if (s != nullptr) s->close();
        }
        if (finished_ == o_.Tables) Finish();
      }
    }
  }

  // The room's own share of a bot's messages; false for those a table's bot
  // handles alike wherever it sat.
  bool RoomReceived(Bot& bot, const std::string& type, const Json& m) {
    if (type == "seated") {
      bot.Token = m.StringAt("token", 64).value_or("");
      bot.Code = m.StringAt("code", 16).value_or("");
      bot.Seat = m.IntAt("seat", 1, 4).value_or(0);
      if (!bot.Seated) {
        bot.Seated = true;
        if (++seatedBots_ == 4 * o_.Tables && o_.Probe) StartProbe();
      }
    } else if (type == "hand_end" || type == "table") {
      if (m.Find("totals") != nullptr) seen_[bot.Code].LastTotals = m.Find("totals")->Dump();
    } else if (type == "match_end") {
      RoomTableSeen& table = seen_[bot.Code];
      if (!table.Finished) {
        if (m.Find("totals") == nullptr || m.Find("totals")->Dump() != table.LastTotals) {
          ++errors_;
          Note("the match's totals differ from its last hand's");
        }
        if (m.IntAt("violations", 0, 1 << 30).value_or(1) != 0) ++errors_;
        table.Finished = true;
        if (++finished_ == o_.Tables) Finish();
      }
      if (bot.Socket != nullptr) bot.Socket->close();
    } else {
      return false;
    }
    return true;
  }

  std::int64_t NowUs() const { return clock_.nsecsElapsed() / 1000; }

  // Every bot sits: a last client enters the whole room and says its lines.
  void StartProbe() {
    QTimer::singleShot(1000, this, [this] {
      probing_ = true;
      Connect(probe_, [this] {
        measures_.EnterSent(NowUs());
        EnterRoom(probe_, o_.First + 4 * o_.Tables + 1000, false);
      });
    });
  }

  void Probed(const std::string& type, std::size_t bytes) {
    if (type == "error") ++errors_;
    if (!measures_.Received(type, bytes, NowUs())) return;
    // The listing comes a round of the server's timers at a time: a few
    // seconds hold the whole of even a full room.
    for (int i = 0; i < RoomProbe::kLines; ++i) {
      QTimer::singleShot(kListingWaitMs + 300 * i, this,
                         [this, i] { Send(probe_, measures_.Line(i, NowUs())); });
    }
    // The changes after the lines, a round of the room's news apart.
    const int changesAt = kListingWaitMs + 300 * RoomProbe::kLines + 1000;
    for (int i = 0; i < RoomProbe::kLines; ++i) {
      QTimer::singleShot(changesAt + 500 * i, this,
                         [this, i] { Send(probe_, measures_.Change(i, NowUs())); });
    }
    QTimer::singleShot(changesAt + 500 * RoomProbe::kLines + 3000, this, [this] {
      std::printf("%s\n", measures_.Report(4 * o_.Tables + 1, o_.Tables, errors_).c_str());
      std::fflush(stdout);
      const auto every = static_cast<std::size_t>(4 * o_.Tables * RoomProbe::kLines);
      const bool all = measures_.HeardCount() == every && measures_.HeardChanges() == every;
      QCoreApplication::exit(errors_ == 0 && all ? 0 : 1);
    });
  }

  void Answer(Bot& bot, const Json& asked) {
    const int hand = asked.IntAt("hand", 1, 1000).value_or(0);
    const int move = asked.IntAt("move", 1, 1000).value_or(0);
    // Now and then the seat drops and comes back; the server asks again.
    if (o_.Drop > 0 && std::uniform_real_distribution<double>(0, 1)(rng_) < o_.Drop) {
      ++drops_;
      QWebSocket* old = bot.Socket;
      Bot* b = &bot;
      const std::string code = CodeOf(bot);
      Connect(bot, [this, b, code] {
        Send(*b, Json::Object()
                     .Set("v", 1)
                     .Set("type", "resume")
                     .Set("code", code)
                     .Set("token", b->Token));
      });
      old->abort();
      return;
    }
    Json reply = Json::Object().Set("v", 1).Set("type", "move").Set("hand", hand).Set("move", move);
    const Json* playable = asked.Find("playable");
    if (o_.AllAuto || ++bot.Answers % 2 == 0 || playable == nullptr || !playable->IsArray() ||
        playable->Items().empty()) {
      reply.Set("auto", Json::Bool(true));
    } else {
      const Json* best = nullptr;
      double bestPips = -1;
      for (const Json& option : playable->Items()) {
        const Json* tile = option.Find("tile");
        if (tile == nullptr || !tile->IsArray() || tile->Items().size() != 2) continue;
        const double pips = tile->Items()[0].AsNumber() + tile->Items()[1].AsNumber();
        if (pips > bestPips) {
          bestPips = pips;
          best = &option;
        }
      }
      if (best == nullptr) {
        reply.Set("auto", Json::Bool(true));
      } else {
        reply.Set("tile", *best->Find("tile"));
        const Json* ends = best->Find("ends");
        if (ends != nullptr && ends->IsArray() && !ends->Items().empty())
          reply.Set("end", Json::Number(ends->Items().back().AsNumber()));
      }
    }
    bot.SentMove = move;
    bot.SentAt = clock_.nsecsElapsed() / 1000;
    bot.SentAuto = reply.Find("auto") != nullptr;
    Send(bot, reply);
  }

  void Finish() {
    for (auto* v : {&latencies_, &autoLatencies_, &tileLatencies_}) std::sort(v->begin(), v->end());
    auto in = [](const std::vector<std::int64_t>& v, double q) {
      if (v.empty()) return 0.0;
      const auto i = static_cast<std::size_t>(q * static_cast<double>(v.size() - 1));
      return static_cast<double>(v[i]) / 1000.0;
    };
    auto at = [&](double q) { return in(latencies_, q); };
    if (o_.JsonOut) {
      // The moves left to the server's computer and those given as a tile,
      // apart: only the first wait on the computer's weighing.
      std::printf(
          "{\"tables\":%d,\"finished\":%d,\"errors\":%d,\"median_ms\":%.3f,\"p99_ms\":%.3f,"
          "\"moves\":%zu,\"drops\":%d,\"seconds\":%.1f,\"tile_median_ms\":%.3f,"
          "\"tile_p99_ms\":%.3f,\"auto_median_ms\":%.3f,\"auto_p99_ms\":%.3f}\n",
          o_.Tables, finished_, errors_, at(0.5), at(0.99), latencies_.size(), drops_,
          static_cast<double>(clock_.elapsed()) / 1000.0, in(tileLatencies_, 0.5),
          in(tileLatencies_, 0.99), in(autoLatencies_, 0.5), in(autoLatencies_, 0.99));
    } else {
      std::printf("tables %d\nfinished %d\nerrors %d\nmedian_ms %.3f\np99_ms %.3f\nmoves %zu\n",
                  o_.Tables, finished_, errors_, at(0.5), at(0.99), latencies_.size());
    }
    std::fflush(stdout);
    QCoreApplication::exit(ExitStatus());
  }

  BotsOptions o_;
  std::mt19937 rng_;
  std::vector<BotTable> tables_;
  QElapsedTimer clock_;
  QTimer ramp_;
  QTimer deadline_;
  int next_ = 0;
  int finished_ = 0;
  int errors_ = 0;
  int drops_ = 0;
  std::vector<std::int64_t> latencies_;  // microseconds
  std::vector<std::int64_t> autoLatencies_;
  std::vector<std::int64_t> tileLatencies_;
  // The room's bots: their tables by code, and the probe's measures.
  std::map<std::string, RoomTableSeen> seen_;
  int seatedBots_ = 0;
  Bot probe_;
  bool probing_ = false;
  RoomProbe measures_;
};

}  // namespace

int main(int argc, char** argv) {
  // A loop that wakes only for the sockets with something to say: with
  // thousands of connections Qt's own loop spends its time polling them all.
  QCoreApplication::setEventDispatcher(new tarvelis::server::EpollDispatcher);
  QCoreApplication app(argc, argv);
  BotsOptions o;
  if (!tarvelis::server::ParseBotsOptions(app.arguments(), o)) {
    std::fprintf(
        stderr,
        "usage: tarvelis-bots --server 127.0.0.1:PORT --tables N [--json] [--drop P] "
        "[--target T] [--seed S] [--timeout SECONDS] [--think MS] [--seats KINDS] [--auto] "
        "[--room [--probe] [--arrivals N] [--first N]]\n"
        "(loopback servers only)\n");
    return 2;
  }
  tarvelis::server::RaiseOpenFileLimit();
  Crowd crowd(o);
  crowd.Run();
  return app.exec();
}
