#include "dialogs/network_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "dialogs/message_dialog.h"
#include "dialogs/network_window_layout.h"
#include "layout/name_rules.h"
#include "model/game_state.h"
#include "model/names.h"
#include "model/texts.h"
#include "platform/net_link.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"
#include "storage/server_choice.h"

namespace tarvelis {
namespace {

using namespace network_layout;
using net::Lobby;
using net::SeatKind;

const char* StageName(Lobby::Stage stage) {
  switch (stage) {
    case Lobby::Stage::kIdle:
      return "idle";
    case Lobby::Stage::kCreating:
      return "creating";
    case Lobby::Stage::kJoining:
      return "joining";
    case Lobby::Stage::kSeated:
      return "seated";
    case Lobby::Stage::kStarting:
      return "starting";
    case Lobby::Stage::kStarted:
      break;
  }
  return "started";
}

}  // namespace

NetworkWindow::NetworkWindow(const GameState& state, NetLink& link, std::filesystem::path folder,
                             QWidget* parent, std::optional<bool> joinPage, std::string enterFirst)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      link_(link),
      folder_(std::move(folder)),
      plan_(net::PlanFromSettings(state)),
      joinSeat_(net::LocalSeat(state)),
      enterFirst_(std::move(enterFirst)) {
  setObjectName(QStringLiteral("RedJuego"));
  setWindowTitle(Utf(kNetworkTitle));
  setModal(true);
  scale_ = WindowScale();
  setFixedSize(static_cast<int>(std::lround(kWidth * scale_)),
               static_cast<int>(std::lround(kHeight * scale_)));

  QPalette palette;
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  const auto field = [&](const char* name, int maxLength) {
    auto* f = new QLineEdit(this);
    f->setObjectName(QString::fromLatin1(name));
    f->setPalette(palette);
    f->setMaxLength(maxLength);
    connect(f, &QLineEdit::textEdited, this, [this] {
      typingFault_ = nullptr;
      update();
    });
    return f;
  };
  // The window comes back as it was last closed: its page, code and name.
  const ServerFile file = ReadServerFile(folder_);
  server_ = field("Txt_Servidor", 300);
  server_->setText(Utf(file.Address));
  kept_ = file.Table;
  joining_ = joinPage.value_or(file.Window.Joining);
  code_ = field("Txt_Codigo", 12);
  code_->setText(Utf(file.Window.Code));
  connect(code_, &QLineEdit::textEdited, this, [this] { Look(); });
  name_ = field("Txt_NombreRed", kMaxNameLength);
  name_->setText(Utf(file.Window.Name.empty() ? net::DefaultName(state_) : file.Window.Name));
  NameEdited();
  connect(name_, &QLineEdit::textEdited, this, [this] { NameEdited(); });
  PlaceFields();

  answerWait_.setSingleShot(true);
  connect(&answerWait_, &QTimer::timeout, this, [this] { NoAnswer(); });
  connect(&link_, &NetLink::Changed, this, [this] { Pump(); });
  Look();
  Refresh();
}

void NetworkWindow::Remember() const {
  ServerFile file = ReadServerFile(folder_);
  file.Window =
      NetworkWindowMemory{joining_, code_->text().toStdString(), name_->text().toStdString()};
  // The code typed goes with the server it was typed for.
  const std::string typed = server_->text().trimmed().toStdString();
  if (net::ParseServerAddress(typed)) file.Address = typed;
  WriteServerFile(folder_, file);
}

const PerSeat<net::LobbySeat>* NetworkWindow::KnownSeats() const {
  if (lobby_.KnowsSeats()) return &lobby_.Seats();
  if (joining_ && looked_) return &looked_->Seats;
  return nullptr;
}

bool NetworkWindow::SeatOffered(int seat) const {
  return !joining_ || !looked_ || looked_->Seats[seat].Free();
}

void NetworkWindow::Look() {
  if (!joining_ || lobby_.Busy()) return;
  const auto address = net::ParseServerAddress(server_->text().toStdString());
  const auto code = net::CheckedCode(code_->text().toStdString());
  if (!address || !code) {
    looked_.reset();
    return;
  }
  if (looking_ && lookCode_ == *code) return;
  looked_.reset();
  lookFault_ = net::Fault::kNone;
  lookCode_ = *code;
  looking_ = true;
  address_ = *address;
  sent_ = false;
  link_.Open(address_);
  answerWait_.start(kAnswerMs);
  Refresh();
}

void NetworkWindow::PumpLook() {
  if (!sent_ && link_.Connected()) {
    sent_ = link_.Send(net::LookRequest(lookCode_));
    answerWait_.start(kAnswerMs);
  }
  std::string text;
  while (looking_ && link_.Take(text)) {
    const auto answer = net::ReadLookAnswer(text);
    if (!answer) continue;
    looking_ = false;
    if (answer->Refused != net::Fault::kNone) {
      lookFault_ = answer->Refused;
    } else if (answer->Code == lookCode_) {
      looked_ = *answer;
      joinSeat_ = net::OfferedSeat(looked_->Seats, joinSeat_);
      if (looked_->Started) lookFault_ = net::Fault::kStarted;
    }
  }
  if (looking_ && link_.Dropped()) {
    looking_ = false;
    lookFault_ = sent_ ? net::Fault::kDropped : net::Fault::kNoServer;
  }
  if (!looking_) {
    answerWait_.stop();
    link_.Close();
  }
  Refresh();
}

void NetworkWindow::PlaceFields() {
  const auto place = [this](QLineEdit* f, int row, int w) {
    f->setFont(GameFont(static_cast<int>(std::lround(kTextPx * scale_)), false));
    f->setGeometry(
        QRectF(kFieldX * scale_, kRowY[row] * scale_, w * scale_, 22 * scale_).toAlignedRect());
  };
  place(server_, 0, 250);
  place(code_, 1, 100);
  place(name_, 2, 250);
  code_->setVisible(joining_);
}

void NetworkWindow::NameEdited() {
  const QString typed = name_->text();
  const NameEdit edit = ApplyNameRules(typed.toStdU32String(), name_->cursorPosition());
  const QString result = QString::fromStdU32String(edit.Text);
  if (result != typed) {
    name_->setText(result);
    name_->setCursorPosition(edit.Caret);
  }
  update();
}

void NetworkWindow::ShowFault(const char* words) {
  typingFault_ = words;
  Refresh();
}

void NetworkWindow::Go() {
  typingFault_ = nullptr;
  looking_ = false;
  lookFault_ = net::Fault::kNone;
  Remember();
  const auto address = net::ParseServerAddress(server_->text().toStdString());
  if (!address) return ShowFault(kNetworkBadAddress);
  std::optional<std::string> code;
  if (joining_) {
    code = net::CheckedCode(code_->text().toStdString());
    if (!code) return ShowFault(kNetworkBadCode);
    code_->setText(Utf(*code));
    // The seats seen at that table: only a free one is asked for.
    if (looked_ && looked_->Code == *code && !looked_->Seats[joinSeat_].Free()) {
      return ShowFault(looked_->Seats[joinSeat_].Kind == SeatKind::kPerson ? kNetworkSeatTaken
                                                                           : kNetworkNotPerson);
    }
  }
  const auto name = net::CheckedName(name_->text().toStdU32String());
  if (!name) return ShowFault(kNetworkNoName);
  firstRequest_ = joining_ ? lobby_.BeginJoin(*code, joinSeat_, *name)
                           : lobby_.BeginCreate(state_, plan_, *name);
  address_ = *address;
  sent_ = false;
  link_.Open(address_);
  answerWait_.start(kAnswerMs);
  Refresh();
}

void NetworkWindow::Pump() {
  if (looking_ && !lobby_.Busy()) return PumpLook();
  if (!lobby_.Busy() || joined_) return;
  if (!sent_ && link_.Connected()) {
    if (!enterFirst_.empty()) link_.Send(enterFirst_);
    sent_ = link_.Send(firstRequest_);
    answerWait_.start(kAnswerMs);
  }
  const bool wasSeated = lobby_.CurrentStage() >= Lobby::Stage::kSeated;
  while (link_.HasMessage() && lobby_.Busy()) {
    const std::string reply = lobby_.Read(link_.Peek());
    // The message that started the match is the table window's to read.
    if (lobby_.CurrentStage() == Lobby::Stage::kStarted) break;
    std::string read;
    link_.Take(read);
    if (!reply.empty()) link_.Send(reply);
  }
  if (!wasSeated && lobby_.CurrentStage() >= Lobby::Stage::kSeated) {
    answerWait_.stop();
    // A server that seated the player is worth offering next time.
    WriteServerChoice(folder_, server_->text().trimmed().toStdString());
  }
  if (lobby_.CurrentStage() == Lobby::Stage::kStarted) {
    answerWait_.stop();
    joined_ = lobby_.Joined(address_);
    Refresh();
    accept();
    return;
  }
  if (link_.Dropped()) lobby_.ConnectionLost(sent_);
  if (!lobby_.Busy()) {
    answerWait_.stop();
    link_.Close();
  }
  Refresh();
}

void NetworkWindow::NoAnswer() {
  if (looking_) {
    looking_ = false;
    lookFault_ = net::Fault::kNoServer;
    link_.Close();
    Refresh();
    return;
  }
  if (lobby_.CurrentStage() != Lobby::Stage::kCreating &&
      lobby_.CurrentStage() != Lobby::Stage::kJoining) {
    return;
  }
  link_.Close();
  lobby_.ConnectionLost(false);
  Refresh();
}

void NetworkWindow::Refresh() {
  const bool idle = !lobby_.Busy();
  server_->setEnabled(idle);
  code_->setEnabled(idle);
  name_->setEnabled(idle);
  update();
  if (TestStatusWanted()) {
    // The seats the join page offers, once the table's were seen.
    QString free;
    for (int seat = 1; seat <= kSeats && joining_ && looked_; ++seat) {
      if (looked_->Seats[seat].Free()) free += QString::number(seat);
    }
    ReportTestStatus(QStringLiteral("network %1 code %2 start %3 fault %4 free %5")
                         .arg(QString::fromLatin1(StageName(lobby_.CurrentStage())))
                         .arg(lobby_.Code().empty() ? QStringLiteral("-") : Utf(lobby_.Code()))
                         .arg(lobby_.MayStart() ? 1 : 0)
                         .arg(static_cast<int>(lobby_.LastFault()))
                         .arg(free.isEmpty() ? QStringLiteral("-") : free));
  }
}

void NetworkWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = (event->position() / scale_).toPoint();
  const bool idle = !lobby_.Busy();
  if (kExit.contains(at)) {
    reject();
    return;
  }
  if (kAction.contains(at)) {
    if (idle) {
      TocaSonido(state_, Sound::kButton);
      Go();
    } else if (lobby_.MayStart()) {
      TocaSonido(state_, Sound::kButton);
      link_.Send(lobby_.Start());
      Refresh();
    }
    return;
  }
  if (lobby_.MayFill() && kResume.contains(at)) {
    TocaSonido(state_, Sound::kButton);
    link_.Send(lobby_.Fill());
    Refresh();
    return;
  }
  if (!idle) return;
  if (OffersPublic() && kPublicCheck.contains(at)) {
    TocaSonido(state_, Sound::kButton);
    plan_.Public = !plan_.Public;
    Refresh();
    return;
  }
  if (kept_ && kResume.contains(at)) {
    const auto address = net::ParseServerAddress(kept_->Address);
    if (address) {
      TocaSonido(state_, Sound::kButton);
      answerWait_.stop();
      link_.disconnect(this);
      link_.Close();
      joined_ = net::JoinedTable{*address, kept_->Code, kept_->Seat, kept_->Token, false};
      Remember();
      accept();
      return;
    }
  }
  // The page and the seats are chosen before anything is asked of a server.
  bool changed = false;
  if (kCreateTab.contains(at) || kJoinTab.contains(at)) {
    joining_ = kJoinTab.contains(at);
    lobby_ = Lobby{};
    PlaceFields();
    Look();
    changed = true;
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (SeatBox(seat).contains(at) || (joining_ && kSeatCard[seat].contains(at))) {
      if (joining_) {
        if (!SeatOffered(seat)) continue;
        joinSeat_ = seat;
      } else {
        plan_.SitAt(seat);
      }
      changed = true;
    } else if (!joining_ && kSeatCard[seat].contains(at)) {
      plan_.CycleKind(seat);
      changed = true;
    }
  }
  if (changed) {
    TocaSonido(state_, Sound::kButton);
    typingFault_ = nullptr;
    Refresh();
  }
}

void NetworkWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (!lobby_.Busy()) {
      Go();
    } else if (lobby_.MayStart()) {
      link_.Send(lobby_.Start());
      Refresh();
    }
    return;
  }
  if (OffersPublic() && event->key() == Qt::Key_P && (event->modifiers() & Qt::AltModifier)) {
    plan_.Public = !plan_.Public;
    Refresh();
    return;
  }
  QDialog::keyPressEvent(event);
}

void NetworkWindow::reject() {
  // Leaving before the start: the seat is given up; nothing local changed.
  const auto stage = lobby_.CurrentStage();
  if (stage == Lobby::Stage::kSeated || stage == Lobby::Stage::kStarting) {
    link_.Send(net::LeaveRequest());
  }
  Remember();
  answerWait_.stop();
  // The connection's end is this window's doing, not a fault to show.
  link_.disconnect(this);
  link_.Close();
  lobby_ = Lobby{};
  TocaSonido(state_, Sound::kClose);
  QDialog::reject();
}

std::optional<net::JoinedTable> OpenNetworkWindow(const GameState& state, NetLink& link,
                                                  const std::filesystem::path& folder,
                                                  QWidget* parent, std::optional<bool> joinPage,
                                                  std::string enterFirst) {
  if (!parent) parent = QApplication::activeWindow();
  NetworkWindow window(state, link, folder, parent, joinPage, std::move(enterFirst));
  // The server's field takes the keyboard first.
  ExecCentred(window, parent, window.findChild<QLineEdit*>(QStringLiteral("Txt_Servidor")));
  return window.Joined();
}

}  // namespace tarvelis
