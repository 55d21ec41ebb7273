#include "app/network_match.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/network_wait.h"
#include "dialogs/message_dialog.h"
#include "engine/hand_messages.h"
#include "model/move_record.h"
#include "model/texts.h"
#include "platform/net_link.h"
#include "platform/test_report.h"
#include "platform/waits.h"
#include "protocol/json.h"
#include "protocol/protocol.h"
#include "storage/server_choice.h"
#include "table/presence_line.h"
#include "table/qt_table_port.h"
#include "table/table_chat.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

using server::Json;

// Reconnecting: the pauses before each attempt, in milliseconds. About a
// minute in all, as long as the server keeps a seat before the computer
// plays it.
constexpr int kRetryPauses[] = {250, 500, 1000, 2000, 4000, 8000, 8000, 16000, 16000};
// How long an attempt may take to open, and to get the seat back.
constexpr int kOpenMs = 5000;
constexpr int kSeatMs = 5000;
// How long the line says a friend came back.
constexpr int kBackLineMs = 6000;
// Reading a queue of messages, the window's events run at least this often.
constexpr qint64 kEventsEveryMs = 40;

// Whether a message changes nothing the player waits on: who is present, a
// line of the chat, or a text that is no message at all.
bool AsksNoWait(const std::string& text) {
  const std::string type = TypeOf(text);
  return type.empty() || type == "seats" || type == "chat";
}

}  // namespace

NetworkMatch::NetworkMatch(GameState& state, Mesa& mesa, QtTablePort& port,
                           const net::JoinedTable& joined, std::unique_ptr<NetLink> link,
                           const std::filesystem::path& folder)
    : state_(state),
      mesa_(mesa),
      port_(port),
      joined_(joined),
      link_(std::move(link)),
      line_(std::make_unique<PresenceLine>(mesa)),
      remote_(state, joined.Seat),
      rng_(1),
      ctx_(state, port, rng_) {
  folder_ = folder;
  chat_ = std::make_unique<TableChat>(mesa, state.Table, ReadChatHidden(folder_));
  chat_->onSay = [this](const std::string& text) { Say(text); };
  chat_->onHiddenChanged = [this](bool hidden) { WriteChatHidden(folder_, hidden); };
}

NetworkMatch::~NetworkMatch() = default;

void NetworkMatch::Log(const QString& line) const {
  // The end-to-end script compares what the game drew with what the server sent.
  std::printf("net %s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

void NetworkMatch::Leave() {
  if (left_) return;
  left_ = true;
  link_->Send(Request("leave"));
  ctx_.Control.ExitRequested = true;
}

void NetworkMatch::Close() {
  ctx_.Control.ExitRequested = true;
}

void NetworkMatch::SetLine(int subject, const std::string& text, int ms) {
  Log(QStringLiteral("line %1 %2").arg(subject).arg(QString::fromStdString(text)));
  line_->Set(subject, QString::fromStdString(text), ms);
}

void NetworkMatch::ClearLine(int subject) {
  line_->Clear(subject);
}

bool NetworkMatch::SayOverflow() {
  if (!link_->Overflowed()) return false;
  Log(QStringLiteral("link overflow"));
  ClearLine(PresenceLine::kLink);
  SayFault(kNetServerTooMuch);
  return true;
}

bool NetworkMatch::Pause(int ms) {
  WaitFor([] { return false; }, [this] { return Stopping(); }, ms);
  return !Stopping();
}

NetOutcome NetworkMatch::Play() {
  port_.SetContext(&ctx_);
  mesa_.Modes().Networked = true;
  mesa_.Modes().Watching = Watching();
  mesa_.onKey = [this](int key) { return OnKey(key); };
  if (Watching()) SetLine(kWatchLine, NetWatchingLine(joined_.Code), 0);
  NetOutcome outcome = NetOutcome::kFinished;
  QElapsedTimer sinceEvents;
  sinceEvents.start();
  for (;;) {
    std::string text;
    while (!Stopping() && !refused_ && link_->Take(text)) {
      for (const net::NetEvent& e : remote_.Read(text)) {
        Present(e);
        if (Stopping()) break;
      }
      // However many messages wait, the window keeps answering.
      if (sinceEvents.elapsed() >= kEventsEveryMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        sinceEvents.restart();
      }
    }
    if (refused_) {
      outcome = NetOutcome::kRefused;
      break;
    }
    if (Stopping()) {
      outcome = left_ ? NetOutcome::kLeft : NetOutcome::kClosing;
      break;
    }
    if (remote_.Finished()) break;
    if (SayOverflow()) {
      outcome = NetOutcome::kLost;
      break;
    }
    // A link never opened is a seat taken up again after the game stopped.
    if (link_->Dropped() || !link_->Connected()) {
      if (Reconnect()) continue;
      outcome = Stopping() ? (left_ ? NetOutcome::kLeft : NetOutcome::kClosing)
                : refused_ ? NetOutcome::kRefused
                           : NetOutcome::kLost;
      break;
    }
    if (remote_.Asked()) {
      AskPlayer();
      continue;
    }
    WaitForLink();
  }
  mesa_.Modes().Networked = false;
  mesa_.Modes().Watching = false;
  mesa_.onKey = nullptr;
  // Closing aborts the socket: the "leave" just sent is given a moment to go.
  if (left_) WaitFor([] { return false; }, {}, 300);
  link_->Close();
  return outcome;
}

void NetworkMatch::WaitForLink() {
  ReportTestStatus(QStringLiteral("net %1 hand %2 move %3 seat %4")
                       .arg(Watching() ? QStringLiteral("watching") : QStringLiteral("waiting"))
                       .arg(state_.HandNumber)
                       .arg(state_.MoveNumber)
                       .arg(state_.CurrentSeat));
  // A message, a drop or a press of the table's buttons wakes the wait.
  while (!link_->HasMessage() && !link_->Dropped() && !Stopping()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
  }
}

void NetworkMatch::AskPlayer() {
  GameState& s = state_;
  s.CurrentSeat = net::kOwnLocalSeat;
  s.NoticeShown = true;
  // A message or a drop while the player thinks ends the wait: the message is
  // read (the server may have played the move itself), then the player is
  // asked again if the question still stands. Who comes and goes, the chat,
  // and texts that are no messages, are read without ending it: asking again
  // drops the player's clicks on the way, and a flood would drop them all.
  bool interrupted = false;
  const auto connection = QObject::connect(link_.get(), &NetLink::Changed, &mesa_, [&] {
    std::string text;
    while (!interrupted && link_->HasMessage() && AsksNoWait(link_->Peek()) && link_->Take(text)) {
      for (const net::NetEvent& e : remote_.Read(text)) {
        if (e.Kind == net::NetEventKind::kSeats || e.Kind == net::NetEventKind::kChat) Present(e);
      }
    }
    if (link_->HasMessage() || link_->Dropped()) {
      interrupted = true;
      s.NoticeShown = false;
    }
  });
  const int slot = port_.WaitForNotice(Trimmed(s.SeatName[net::kOwnLocalSeat]));
  QObject::disconnect(connection);
  s.NoticeShown = false;
  if (Stopping() || (interrupted && slot == 0) || !remote_.Asked()) return;
  if (slot == 0) {
    // The continue button: the computer plays the seat's move, as at home.
    link_->Send(remote_.AutoMoveMessage());
    remote_.Answered();
    return;
  }
  const HandSlot& t = s.Hand[net::kOwnLocalSeat][slot];
  const net::PlayableTile* tile = nullptr;
  for (const net::PlayableTile& p : remote_.Playable()) {
    if ((p.PipA == t.PipA && p.PipB == t.PipB) || (p.PipA == t.PipB && p.PipB == t.PipA)) tile = &p;
  }
  if (tile == nullptr) return;
  int end = tile->End1 && !tile->End2 ? 1 : (tile->End2 && !tile->End1 ? 2 : 0);
  if (end == 0 && s.MoveNumber > 1 && s.EndPips[1] != s.EndPips[2]) {
    end = port_.AskEnd();
    if (Stopping() || end == 0) return;
  }
  // No end chosen: the server lays the tile at the one end it fits.
  if (!link_->Send(remote_.MoveMessage(t.PipA, t.PipB, end))) return;
  remote_.Answered();
}

void NetworkMatch::SayFault(const std::string& text) {
  if (Stopping()) return;
  // Before the table's first view (a seat taken up again) no match is on the
  // table, and the port shows nothing: the message goes over the table itself.
  if (!state_.MatchInProgress) {
    ShowMessage(state_, QString::fromUtf8(kNetMatchTitle), QString::fromStdString(text),
                kPictureError, kButtonsNotice, &mesa_);
    return;
  }
  port_.ShowMessage(kNetMatchTitle, text, kPictureError, kButtonsNotice);
}

void NetworkMatch::PaceMove(const net::NetEvent& e) {
  // The server's computer seats answer at once; the table shows their moves
  // as at home: the stop before each move when the player wants one, then
  // the computer's thinking over its hand, at the game's speed. The link
  // keeps reading meanwhile, and the next messages wait in its queue.
  if ((e.Seat == net::kOwnLocalSeat && !Watching()) || e.Seat < 1 || e.Seat > kSeats) return;
  GameState& s = state_;
  // At home the pause stops before the computer's moves only: a person's
  // stop is the question of the seat's own move (a friend had it at the
  // friend's table). A watcher, who has no move, is not stopped.
  if (s.RulePauseBetweenMoves == kOn && remote_.ComputerPlays(e.Seat) && !Watching()) {
    s.NoticeShown = true;
    port_.WaitForNotice(Trimmed(s.SeatName[e.Seat]));
    s.NoticeShown = false;
    if (Stopping()) return;
  }
  // Nothing to weigh for a pass, nor for the lead of the double six.
  if (e.Kind == net::NetEventKind::kLaid && remote_.ComputerPlays(e.Seat) && e.Move >= 1) {
    const MoveEntry& m = s.MoveRecord[static_cast<std::size_t>(e.Move)];
    if (!(e.Move == 1 && m[kFPipA] == 6 && m[kFPipB] == 6)) port_.ThinkingPause(e.Seat);
  }
}

void NetworkMatch::Present(const net::NetEvent& e) {
  GameState& s = state_;
  using K = net::NetEventKind;
  switch (e.Kind) {
    case K::kStarted:
    case K::kTableLoaded:
      port_.GameLoaded();
      mesa_.Modes().Networked = true;
      port_.DrawScoreboard();
      break;
    case K::kDealt:
      port_.ClearTableForDeal();
      port_.PlaySound(Sound::kNewHand);
      for (int seat = 1; seat <= kSeats && !Stopping(); ++seat) {
        port_.DrawHand(seat);
        port_.PlaySound(Sound::kTileMoves);
        port_.Wait(60);
      }
      break;
    case K::kLaid:
    case K::kPassed: {
      const MoveEntry& m = s.MoveRecord[static_cast<std::size_t>(e.Move)];
      Log(QStringLiteral("move hand %1 move %2 seat %3 %4")
              .arg(s.HandNumber)
              .arg(e.Move)
              .arg(remote_.ServerSeat(e.Seat))
              .arg(e.Kind == K::kPassed ? QStringLiteral("pass")
                                        : QStringLiteral("tile %1 %2 end %3")
                                              .arg(m[kFPipA])
                                              .arg(m[kFPipB])
                                              .arg(m[kFEnd])));
      PaceMove(e);
      if (Stopping()) break;
      port_.RecorderLineAdded(e.Move, RecorderLine(s, e.Move));
      if (e.Kind == K::kLaid) {
        port_.ShowLaidTile(e.Move);
      } else {
        port_.ShowPassSign(e.Seat);
      }
      break;
    }
    case K::kNotice: {
      // As at home, every notice, the match's result too, is information.
      port_.ShowMessage(e.Title, e.Text, kPictureInformation, kButtonsNotice);
      break;
    }
    case K::kHandClosed:
      LogHandRecord();
      if (e.Domino) port_.PlaySound(Sound::kDomino);
      port_.HandClosed(e.Domino);
      break;
    case K::kScore:
      Log(QStringLiteral("score hand %1 pairs %2 %3 seats %4 %5 %6 %7")
              .arg(s.HandNumber)
              .arg(s.PairTotal[PairOfSeat(remote_.LocalSeat(2))])
              .arg(s.PairTotal[PairOfSeat(remote_.LocalSeat(1))])
              .arg(s.SeatTotal[remote_.LocalSeat(1)])
              .arg(s.SeatTotal[remote_.LocalSeat(2)])
              .arg(s.SeatTotal[remote_.LocalSeat(3)])
              .arg(s.SeatTotal[remote_.LocalSeat(4)]));
      port_.DrawScoreboard();
      // The table waits at the closed hand as at home; the server plays on,
      // and what it sent meanwhile is read once the player goes on.
      s.NoticeShown = true;
      port_.WaitForNotice(kContinueLabel);
      s.NoticeShown = false;
      break;
    case K::kSeats:
      // Who leaves once the match is over changes nothing of it.
      if (remote_.Finished()) break;
      // A friend away stays on the line until back; back, for a moment.
      if (remote_.ComputerPlays(e.Seat)) {
        SetLine(e.Seat, e.Text, 0);
      } else {
        SetLine(e.Seat, e.Text, kBackLineMs);
      }
      break;
    case K::kMatchEnd:
      AtMatchEnd();
      break;
    case K::kChat:
      Log(QStringLiteral("chat %1: %2")
              .arg(QString::fromStdString(e.Title), QString::fromStdString(e.Text)));
      chat_->Add(e.Title, e.Text);
      break;
    case K::kError:
      Log(QStringLiteral("error %1").arg(QString::fromStdString(e.Title)));
      if (e.Title == "stale" || e.Title == "not_asked" || e.Title == "too_fast") break;
      SayFault(NetRefusedMessage(e.Text));
      if (e.Title == "bad_token" || e.Title == "no_table") refused_ = true;
      break;
    case K::kAsked:
    case K::kTurn:
      break;
  }
}

void NetworkMatch::LogHandRecord() const {
  const GameState& s = state_;
  for (int n = 1; n <= s.MoveNumber && n < static_cast<int>(s.MoveRecord.size()); ++n) {
    const MoveEntry& m = s.MoveRecord[static_cast<std::size_t>(n)];
    const QString what =
        m[kFEnd] == kPassEnd
            ? QStringLiteral("pass")
            : QStringLiteral("tile %1 %2 end %3").arg(m[kFPipA]).arg(m[kFPipB]).arg(m[kFEnd]);
    Log(QStringLiteral("record hand %1 move %2 seat %3 %4")
            .arg(s.HandNumber)
            .arg(n)
            .arg(remote_.ServerSeat(m[kFSeat]))
            .arg(what));
  }
}

void NetworkMatch::Say(const std::string& text) {
  link_->Send(Json::Object()
                  .Set("v", server::kProtocolVersion)
                  .Set("type", "say")
                  .Set("to", "table")
                  .Set("text", text)
                  .Dump());
}

bool NetworkMatch::Reconnect() {
  // The table says so where the continue button goes, and in its title.
  const QString title = mesa_.windowTitle();
  mesa_.setWindowTitle(QString::fromUtf8(kNetLinkLost));
  mesa_.ShowNotice(QString::fromUtf8(kNetNoLinkLabel));
  SetLine(PresenceLine::kLink, kNetReconnectingLine, 0);
  int tries = 0;  // failed, told so that a test can keep the server away for some
  ReportTestStatus(QStringLiteral("net reconnecting tries 0"));
  Log(QStringLiteral("link lost"));
  bool back = false;
  for (int pause : kRetryPauses) {
    if (!Pause(pause)) break;
    link_->Open(joined_.Address);
    const auto stop = [this] { return Stopping(); };
    if (!WaitFor([&] { return link_->Connected() || link_->Dropped(); }, stop, kOpenMs) ||
        !link_->Connected()) {
      ReportTestStatus(QStringLiteral("net reconnecting tries %1").arg(++tries));
      continue;
    }
    // A watcher watches again; a seat is resumed by its token.
    link_->Send(Watching() ? WatchRequest(joined_.Code)
                           : Json::Object()
                                 .Set("v", server::kProtocolVersion)
                                 .Set("type", "resume")
                                 .Set("code", joined_.Code)
                                 .Set("token", joined_.Token)
                                 .Dump());
    // The seat comes back first; the table's view and any question follow
    // and are read by the match's loop.
    if (!WaitFor([&] { return link_->HasMessage() || link_->Dropped(); }, stop, kSeatMs) ||
        !link_->HasMessage()) {
      if (link_->Overflowed()) break;
      continue;
    }
    std::string first;
    link_->Take(first);
    if (TypeOf(first) == "seated" || TypeOf(first) == "watching") {
      back = true;
      break;
    }
    if (TypeOf(first) == "error") {
      // The table is gone or the seat is not this game's: the server says
      // why, and the seat is not tried again.
      for (const net::NetEvent& e : remote_.Read(first)) Present(e);
      refused_ = true;
      break;
    }
  }
  mesa_.setWindowTitle(title);
  mesa_.HideNotice();
  ClearLine(PresenceLine::kLink);
  if (back) {
    Log(QStringLiteral("link back"));
    return true;
  }
  // A server that sent too much is not tried again, and says so once.
  if (!SayOverflow() && !Stopping() && !refused_) SayFault(kNetGaveUp);
  return false;
}

}  // namespace tarvelis
