#include "dialogs/network_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "dialogs/message_dialog.h"
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

using net::Lobby;
using net::SeatKind;

// The layout, in the window's own pixels; blown up with the table.
constexpr int kWidth = 520;
constexpr int kHeight = 456;  // fits the smallest table, 640 x 480
constexpr int kTitleH = 26;
constexpr int kMargin = 16;
constexpr int kFieldX = 110;
constexpr int kRowY[4] = {66, 92, 118, 144};  // server; rules or code; name; seat
constexpr QRect kCreateTab(kMargin, 34, 160, 24);
constexpr QRect kJoinTab(184, 34, 160, 24);
constexpr QRect kFelt(176, 222, 168, 96);
constexpr QRect kStatus(kMargin, 372, kWidth - 2 * kMargin, 36);
constexpr QRect kAction(kWidth / 2 - 96 - 12, 414, 96, 28);
constexpr QRect kExit(kWidth / 2 + 12, 414, 96, 28);
// Beside the seat boxes, on either page.
constexpr QRect kResume(kWidth - kMargin - 200, kRowY[3] - 2, 200, 26);
// The seats where the table has them: 1 left, 2 at the top, 3 right, 4 at the bottom.
constexpr QRect kSeatCard[kSeats + 1] = {QRect(), QRect(kMargin, 248, 150, 44),
                                         QRect(185, 174, 150, 44), QRect(354, 248, 150, 44),
                                         QRect(185, 322, 150, 44)};
// Answers come within a moment on any network; a server silent this long is not there.
constexpr int kAnswerMs = 5000;

const QColor kInk(Qt::black);
const QColor kFaultInk(0x9A, 0x1B, 0x1B);
const QColor kCard(0xF6, 0xF2, 0xE6);
const QColor kOwnFrame(0xC8, 0x9B, 0x2C);
const QColor kFeltGreen(0x1E, 0x6B, 0x3A);

QString Utf(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
QString Utf(const char* text) {
  return QString::fromUtf8(text);
}

QRect SeatBox(int seat) {
  return QRect(kFieldX + 34 * (seat - 1), kRowY[3], 28, 22);
}

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

// A page's tab: the chosen one as the dialogs' button, the other as a plain card.
void DrawTab(QImage& image, const QRect& rect, const QString& label, bool chosen) {
  if (chosen) {
    DrawDialogButton(image, rect, label);
    return;
  }
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.fillPath(path, kCard);
    p.setPen(QPen(kDialogFrame, 1));
    p.drawPath(path);
  }
  const int w = TextWidth(label, kTextPx, true);
  DrawText(image, rect.x() + (rect.width() - w) / 2,
           rect.y() + (rect.height() - TextHeight(kTextPx, true)) / 2, label, kTextPx, true,
           kDialogFrame);
}

}  // namespace

NetworkWindow::NetworkWindow(const GameState& state, NetLink& link, std::filesystem::path folder,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      link_(link),
      folder_(std::move(folder)),
      plan_(net::PlanFromSettings(state)),
      joinSeat_(net::LocalSeat(state)) {
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
  joining_ = file.Window.Joining;
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

QString NetworkWindow::SeatLine(int seat) const {
  if (const PerSeat<net::LobbySeat>* known = KnownSeats()) {
    const net::LobbySeat& s = (*known)[seat];
    if (s.Kind != SeatKind::kPerson) return Utf(net::ServerSeatText(s));
    if (!s.Taken) return Utf(kNetworkFree);
    return s.Present ? Utf(s.Name) : Utf(s.Name) + QStringLiteral(" (") + Utf(kNetworkAway) + ')';
  }
  const bool own = seat == (joining_ ? joinSeat_ : plan_.OwnSeat);
  if (own) return name_->text();
  if (joining_) return {};
  // The table about to be created, in the words the server's seats will have.
  net::LobbySeat planned;
  planned.Kind = plan_.Kinds[seat];
  planned.Level = std::clamp<int>(state_.SeatLevel[seat], 0, 100);
  if (planned.Kind == SeatKind::kPerson) return Utf(kNetworkPerson);
  return Utf(net::ServerSeatText(planned));
}

QString NetworkWindow::StatusLine() const {
  if (typingFault_ != nullptr) return Utf(typingFault_);
  if (lobby_.LastFault() != net::Fault::kNone) return Utf(net::FaultText(lobby_.LastFault()));
  if (joining_ && !lobby_.Busy() && lookFault_ != net::Fault::kNone) {
    return Utf(net::FaultText(lookFault_));
  }
  switch (lobby_.CurrentStage()) {
    case Lobby::Stage::kIdle:
      if (joining_ && looking_) return Utf(kNetworkConnecting);
      return Utf(joining_ ? kNetworkJoinHint : kNetworkSeatHint);
    case Lobby::Stage::kCreating:
      return Utf(link_.Connected() ? kNetworkCreating : kNetworkConnecting);
    case Lobby::Stage::kJoining:
      return Utf(link_.Connected() ? kNetworkSitting : kNetworkConnecting);
    case Lobby::Stage::kSeated:
      if (!lobby_.Host()) return Utf(kNetworkWaitingHost);
      if (lobby_.MayStart()) return Utf(kNetworkMayStart);
      return Utf(kNetworkWaitingPlayers) + ' ' + Utf(kNetworkCodeHint);
    case Lobby::Stage::kStarting:
    case Lobby::Stage::kStarted:
      break;
  }
  return Utf(kNetworkStarting);
}

void NetworkWindow::DrawSeat(QImage& image, int seat) const {
  const QRect r = kSeatCard[seat];
  const bool own =
      lobby_.Busy() ? seat == lobby_.Seat() : seat == (joining_ ? joinSeat_ : plan_.OwnSeat);
  {
    QPainter p(&image);
    p.fillRect(r, kCard);
    p.setPen(QPen(own ? kOwnFrame : kDialogFrame, own ? 2 : 1));
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
    if (KnownSeats() != nullptr && (*KnownSeats())[seat].Kind == SeatKind::kPerson) {
      // Who is at the table: green when sitting, amber when away, grey when free.
      const net::LobbySeat& s = (*KnownSeats())[seat];
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(Qt::NoPen);
      p.setBrush(!s.Taken    ? QColor(0xA0, 0xA0, 0xA0)
                 : s.Present ? QColor(0x2E, 0xA0, 0x4C)
                             : QColor(0xE0, 0x9A, 0x1E));
      p.drawEllipse(QRectF(r.right() - 15, r.y() + 7, 9, 9));
    }
    p.setFont(GameFont(kTextPx, false));
    p.setPen(kInk);
    p.drawText(QRect(r.x() + 8, r.y() + 22, r.width() - 14, 18), Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(SeatLine(seat), Qt::ElideRight, r.width() - 14));
  }
  QString title = Utf(kNetworkSeatWord) + ' ' + QString::number(seat);
  if (own) title += ' ' + Utf(kNetworkYou);
  DrawText(image, r.x() + 8, r.y() + 5, title, kTextPx, true, kDialogFrame);
}

void NetworkWindow::paintEvent(QPaintEvent*) {
  QImage image = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  {
    QPainter p(&image);
    DrawDialogPanel(p, QSize(kWidth, kHeight), QRect(0, 0, kWidth, kTitleH));
  }
  DrawText(image, 8, 6, Utf(kNetworkTitle), kTextPx, true, Qt::white);
  DrawTab(image, kCreateTab, Utf(kNetworkCreateTab), !joining_);
  DrawTab(image, kJoinTab, Utf(kNetworkJoinTab), joining_);

  DrawText(image, kMargin, kRowY[0] + 4, Utf(kNetworkServerLabel), kTextPx, true, kInk);
  DrawText(image, kMargin, kRowY[1] + 4, Utf(joining_ ? kNetworkCodeLabel : kNetworkRulesLabel),
           kTextPx, true, kInk);
  DrawText(image, kMargin, kRowY[2] + 4, Utf(kNetworkNameLabel), kTextPx, true, kInk);
  DrawText(image, kMargin, kRowY[3] + 4, Utf(kNetworkSeatLabel), kTextPx, true, kInk);
  const int ownSeat = lobby_.Busy() ? lobby_.Seat() : joining_ ? joinSeat_ : plan_.OwnSeat;
  {
    QPainter p(&image);
    if (!joining_) {
      p.setFont(GameFont(kSmallTextPx, false));
      p.setPen(kInk);
      p.drawText(QRect(kFieldX, kRowY[1] - 2, kWidth - kFieldX - kMargin, 28),
                 Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, Utf(net::RulesLine(state_)));
    }
    for (int seat = 1; seat <= kSeats; ++seat) {
      const QRect box = SeatBox(seat);
      // A seat the table has no room at is greyed: it cannot be chosen.
      p.fillRect(box, seat == ownSeat     ? kDialogFrame
                      : SeatOffered(seat) ? QColor(Qt::white)
                                          : QColor(0xD0, 0xD0, 0xD0));
      p.setPen(QPen(kDialogFrame, 1));
      p.drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
      p.setFont(GameFont(kTextPx, true));
      p.setPen(seat == ownSeat ? QColor(Qt::white) : kInk);
      p.drawText(box, Qt::AlignCenter, QString::number(seat));
    }
    // The table, with its code on it once the server has given one.
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath felt;
    felt.addRoundedRect(QRectF(kFelt), 10, 10);
    p.fillPath(felt, kFeltGreen);
    p.setPen(QPen(kDialogFrame, 2));
    p.drawPath(felt);
    // The code of the table seen from the join page, before sitting, too.
    const std::string code =
        !lobby_.Code().empty() ? lobby_.Code() : (joining_ && looked_ ? looked_->Code : "");
    if (!code.empty()) {
      p.setPen(Qt::white);
      p.setFont(GameFont(kSmallTextPx, false));
      p.drawText(QRect(kFelt.x(), kFelt.y() + 10, kFelt.width(), 16), Qt::AlignCenter,
                 Utf(kNetworkCodeLabel).chopped(1));
      p.setFont(GameFont(30, true));
      p.drawText(QRect(kFelt.x(), kFelt.y() + 28, kFelt.width(), 50), Qt::AlignCenter, Utf(code));
    }
    const bool fault = typingFault_ != nullptr || lobby_.LastFault() != net::Fault::kNone;
    p.setFont(GameFont(kTextPx, fault));
    p.setPen(fault ? kFaultInk : kInk);
    p.drawText(kStatus, Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignVCenter, StatusLine());
  }
  for (int seat = 1; seat <= kSeats; ++seat) DrawSeat(image, seat);

  const bool idle = !lobby_.Busy();
  if (lobby_.Host() && !idle) {
    DrawDialogButton(image, kAction, Utf(kNetworkStartLabel), lobby_.MayStart());
  } else {
    DrawDialogButton(image, kAction, Utf(joining_ ? kNetworkJoinLabel : kNetworkCreateLabel), idle);
  }
  DrawDialogButton(image, kExit, Utf(kExitLabel));
  if (kept_ && idle) DrawDialogButton(image, kResume, Utf(NetResumeLabel(kept_->Code)));
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(rect()), image, QRectF(image.rect()));
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
  if (!idle) return;
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
                                                  QWidget* parent) {
  if (!parent) parent = QApplication::activeWindow();
  NetworkWindow window(state, link, folder, parent);
  // The server's field takes the keyboard first.
  ExecCentred(window, parent, window.findChild<QLineEdit*>(QStringLiteral("Txt_Servidor")));
  return window.Joined();
}

}  // namespace tarvelis
