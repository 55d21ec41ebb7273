// The way from the table to a networked match and back: the network window,
// a table joined from the command line or from an invitation a second start
// handed over, the local match set aside while the networked one is played,
// and brought back after it.
#include "app/network_launch.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/network_match.h"
#include "app/program.h"
#include "dialogs/message_dialog.h"
#include "dialogs/network_window.h"
#include "dialogs/room_window.h"
#include "engine/hand_messages.h"
#include "engine/turn_loop.h"
#include "layout/button_bar.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "net/invitation.h"
#include "net/joined_table.h"
#include "platform/cursors.h"
#include "platform/net_link.h"
#include "platform/waits.h"
#include "storage/history_file.h"
#include "storage/server_choice.h"
#include "table/qt_table_port.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

QString Utf(const std::string& text) {
  return QString::fromStdString(text);
}

// A wait for the player's windows to close before an invitation is asked about.
constexpr int kInvitationRetryMs = 300;

std::optional<net::Invitation> InvitationOf(const QStringList& words) {
  std::vector<std::string> w;
  for (const QString& word : words) w.push_back(word.toStdString());
  return net::ParseJoinArguments(w);
}

}  // namespace

void Program::OnNetworkPlay() {
  TocaSonido(state_, Sound::kButton);
  auto link = std::make_unique<NetLink>();
  // The room first; its pages create a table or join one by a code as before.
  RoomChoice choice = OpenRoomWindow(state_, *link, dataFolder_, mesa_);
  std::optional<net::JoinedTable> joined = std::move(choice.Joined);
  using Kind = RoomChoice::Kind;
  if (choice.What == Kind::kCreatePage || choice.What == Kind::kJoinPage) {
    joined = OpenNetworkWindow(state_, *link, dataFolder_, mesa_, choice.What == Kind::kJoinPage,
                               std::move(choice.EnterFirst));
  }
  mesa_->RefreshPointer();
  // "Mirar": the room is closed; the table is watched over a connection of its own.
  if (choice.What == Kind::kWatch) WatchTable(choice.Address, choice.Code);
  if (joined) PlayNetworkMatch(*joined, std::move(link));
}

bool WatchNetworkTable(const net::ServerAddress& address, const std::string& code) {
  Program* program = Program::Running();
  return program != nullptr && program->WatchTable(address, code);
}

bool Program::WatchTable(const net::ServerAddress& address, const std::string& code) {
  if (net_ != nullptr || joining_ || leaving_) return false;
  // Asked before the server is: the table cannot be put aside mid-recording.
  if (state_.RecorderOn) {
    Tell(Utf(kProgramTitle), Utf(kRecorderFirstMessage), kPictureWarning);
    return false;
  }
  const auto resumeLocal = [this] {
    if (state_.MatchInProgress && !engine_->Control.Running) ResumeHand();
  };
  auto link = std::make_unique<NetLink>();
  net::JoinedTable watched;
  std::string why;
  mesa_->setCursor(BusyCursor());
  joining_ = true;
  const bool ok =
      tarvelis::WatchTable(*link, address, code, watched, why, [this] { return leaving_; });
  joining_ = false;
  mesa_->setCursor(CursorOfKind(1));
  if (leaving_) return false;
  if (!ok) {
    Tell(Utf(kNetMatchTitle), Utf(why), kPictureError);
    resumeLocal();
    return false;
  }
  PlayNetworkMatch(watched, std::move(link));
  return true;
}

bool Program::AskLeaveNetworkMatch() {
  const char* question =
      net_ != nullptr && net_->Watching() ? kNetLeaveWatchQuestion : kNetLeaveQuestion;
  if (net_ == nullptr || !Ask(Utf(kNetMatchTitle), Utf(question))) return false;
  net_->Leave();
  return true;
}

void Program::OnInvitation(const QStringList& words) {
  if (look_.FullScreen) {
    mesa_->showFullScreen();
  } else {
    mesa_->showNormal();
  }
  mesa_->raise();
  mesa_->activateWindow();
  if (words.isEmpty()) return;
  // The newest invitation stands: the player was asked about none of them yet.
  pendingInvitation_ = words;
  TakePendingInvitation();
}

void Program::TakePendingInvitation() {
  if (pendingInvitation_.isEmpty() || leaving_) return;
  // It waits, as the options menu's "Jugar en red" does, for the table to be
  // still and no window of the game to be open over it.
  const bool still = !state_.MatchInProgress || state_.NoticeShown;
  if (QApplication::activeModalWidget() != nullptr || !still || mesa_->Modes().Busy() ||
      state_.RecorderOn || joining_) {
    if (net_ == nullptr) {
      QTimer::singleShot(kInvitationRetryMs, mesa_, [this] { TakePendingInvitation(); });
      return;
    }
  }
  const QStringList words = std::exchange(pendingInvitation_, {});
  if (net_ != nullptr) {
    Tell(Utf(kNetMatchTitle), Utf(kNetInvitationBusy), kPictureWarning);
    return;
  }
  const auto invitation = InvitationOf(words);
  if (!invitation) {
    Tell(Utf(kNetMatchTitle), Utf(NetJoinUsage()), kPictureError);
    return;
  }
  ReportTestStatus(
      QStringLiteral("network invitation %1 %2").arg(Utf(invitation->Code)).arg(invitation->Seat));
  if (!Ask(Utf(kNetMatchTitle), Utf(NetInvitationQuestion(invitation->Address.Text(),
                                                          invitation->Code, invitation->Seat)))) {
    return;
  }
  JoinInvitation(words);
}

void Program::JoinInvitation(const QStringList& words) {
  // From the command line the local match waits for the networked one; an
  // invitation taken while a local loop waits leaves that loop as it was.
  const auto resumeLocal = [this] {
    if (state_.MatchInProgress && !engine_->Control.Running) ResumeHand();
  };
  const auto invitation = InvitationOf(words);
  if (!invitation) {
    Tell(Utf(kNetMatchTitle), Utf(NetJoinUsage()), kPictureError);
    resumeLocal();
    return;
  }
  const std::string name =
      !invitation->Name.empty() ? invitation->Name : Trimmed(state_.SeatName[net::kOwnLocalSeat]);
  auto link = std::make_unique<NetLink>();
  net::JoinedTable joined;
  std::string why;
  mesa_->setCursor(BusyCursor());
  joining_ = true;
  const bool seated = JoinTable(*link, invitation->Address, invitation->Code, invitation->Seat,
                                name, joined, why, [this] { return leaving_; });
  joining_ = false;
  mesa_->setCursor(CursorOfKind(1));
  if (leaving_) return;
  if (!seated) {
    Tell(Utf(kNetMatchTitle), Utf(why), kPictureError);
    resumeLocal();
    return;
  }
  PlayNetworkMatch(joined, std::move(link));
}

void Program::SetLocalAside() {
  // The local match is kept aside exactly as it is; the mirror starts from
  // its settings, so the table looks and sounds as the player set it.
  localAside_ = std::make_unique<GameState>(state_);
  state_.MatchInProgress = false;
  state_.HandInProgress = false;
  state_.NoticeShown = false;
  state_.LiveMoveNumber = 0;
  mesa_->HideNotice();
}

void Program::KeepNetworkMatchInHistory() {
  const QDateTime now = QDateTime::currentDateTime();
  const DateTime when{now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                      now.time().minute()};
  if (!AppendNetworkHistory(state_, dataFolder_, when)) {
    Tell(Utf(kHistoryTitle),
         Utf(HistoryNotSavedMessage((dataFolder_ / kNetworkHistoryFileName).string())),
         kPictureError);
  }
}

void Program::PlayNetworkMatch(const net::JoinedTable& joined, std::unique_ptr<NetLink> link) {
  if (net_ != nullptr || !link) return;
  if (state_.RecorderOn) {
    Tell(Utf(kProgramTitle), Utf(kRecorderFirstMessage), kPictureWarning);
    return;
  }
  const bool localLoopWaits = engine_->Control.Running;
  SetLocalAside();
  // The seat is kept on disk until the match ends, so that a game that
  // stopped meanwhile, or a player who left, can take it up again.
  const std::string address =
      (joined.Address.Secure ? std::string("wss://") : std::string()) + joined.Address.Text();
  if (!joined.Token.empty()) {
    WriteKeptTable(dataFolder_, KeptTable{address, joined.Code, joined.Seat, joined.Token});
  }
  NetOutcome outcome;
  {
    NetworkMatch match(state_, *mesa_, *port_, joined, std::move(link), dataFolder_);
    net_ = &match;
    outcome = match.Play();
    net_ = nullptr;
  }
  // A watcher keeps no seat, and leaves the seat kept for another table.
  if ((outcome == NetOutcome::kFinished || outcome == NetOutcome::kRefused) && joined.Seat != 0) {
    WriteKeptTable(dataFolder_, std::nullopt);
  }
  // The mirror holds the match's names and totals as the server ended it;
  // a match only watched was nobody's here, and stays out of the history.
  if (outcome == NetOutcome::kFinished && joined.Seat != 0) KeepNetworkMatchInHistory();
  BringLocalBack();
  if (outcome == NetOutcome::kClosing || leaving_) return;
  if (std::exchange(exitAfterNet_, false)) {
    QTimer::singleShot(0, mesa_, [this] { OnButton(kExitButton); });
  }
  if (!state_.MatchInProgress) return;
  if (localLoopWaits) {
    // The loop waiting below this handler unwinds and takes the hand up
    // again from the state, which shows its wait anew.
    engine_->Control.Pending = LoopEntry::kResumeHand;
  } else {
    QTimer::singleShot(0, mesa_, [this] { ResumeHand(); });
  }
}

void Program::BringLocalBack() {
  // The local match comes back as it was, drawn again; the end-to-end
  // scripts wait for this line before they read the local hand's status.
  std::printf("net local match back\n");
  std::fflush(stdout);
  state_ = *localAside_;
  localAside_.reset();
  port_->SetContext(engine_.get());
  port_->GameLoaded();
  mesa_->Painter().DrawAll();
  mesa_->Show();
  mesa_->setCursor(CursorOfKind(1));
}

}  // namespace tarvelis
