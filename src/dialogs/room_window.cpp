#include "dialogs/room_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "dialogs/message_dialog.h"
#include "dialogs/room_window_layout.h"
#include "layout/focus_ring.h"
#include "layout/list_scroll.h"
#include "layout/name_rules.h"
#include "model/game_state.h"
#include "model/names.h"
#include "model/room_texts.h"
#include "model/texts.h"
#include "platform/net_link.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"
#include "storage/player_key.h"
#include "storage/server_choice.h"

namespace tarvelis {
namespace {

using namespace room_layout;
using B = RoomWindow::Button;

// A room answers at once on any network; a server silent this long is not there.
constexpr int kAnswerMs = 5000;

QString Utf(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* StageName(RoomWindow::Stage stage) {
  switch (stage) {
    case RoomWindow::Stage::kOutside:
      return "outside";
    case RoomWindow::Stage::kEntering:
      return "entering";
    case RoomWindow::Stage::kInside:
      return "inside";
    case RoomWindow::Stage::kNoRoom:
      break;
  }
  return "noroom";
}

}  // namespace

RoomWindow::RoomWindow(const GameState& state, NetLink& link, std::filesystem::path folder,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      link_(link),
      folder_(std::move(folder)) {
  setObjectName(QStringLiteral("SalaRed"));
  setWindowTitle(QString::fromUtf8(kRoomTitle));
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
    return f;
  };
  const ServerFile file = ReadServerFile(folder_);
  server_ = field("Txt_Servidor", 300);
  server_->setText(Utf(file.Address));
  name_ = field("Txt_NombreRed", kMaxNameLength);
  name_->setText(Utf(file.Window.Name.empty() ? net::DefaultName(state_) : file.Window.Name));
  connect(name_, &QLineEdit::textEdited, this, [this] {
    const NameEdit edit = ApplyNameRules(name_->text().toStdU32String(), name_->cursorPosition());
    const QString result = QString::fromStdU32String(edit.Text);
    if (result != name_->text()) {
      name_->setText(result);
      name_->setCursorPosition(edit.Caret);
    }
  });
  chat_ = field("Txt_Charla", static_cast<int>(net::kChatTextBytes));
  room_.SetMutes(net::ParseMutes(file.Mutes));
  kept_ = file.Table;
  PlaceFields();
  // Alt and a letter of each button, for the keyboard alone; shortcuts, so
  // that they work with the keyboard in a field too.
  const std::pair<QKeyCombination, B> keys[] = {
      {Qt::ALT | Qt::Key_J, B::kQuick},    {Qt::ALT | Qt::Key_M, B::kWatch},
      {Qt::ALT | Qt::Key_S, B::kSit},      {Qt::ALT | Qt::Key_C, B::kCreate},
      {Qt::ALT | Qt::Key_U, B::kJoinCode}, {Qt::ALT | Qt::Key_L, B::kBoard},
      {Qt::ALT | Qt::Key_F, B::kOwnPage},  {Qt::ALT | Qt::Key_I, B::kMute},
      {Qt::ALT | Qt::Key_O, B::kFill}};
  for (const auto& [combination, button] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(combination), this);
    connect(shortcut, &QShortcut::activated, this, [this, b = button] { Press(b); });
  }
  // The list takes the keyboard when clicked or reached by Tab: arrows
  // choose, Enter sits; a drawn button reached by Tab is pressed by Space.
  setFocusPolicy(Qt::ClickFocus);

  const PlayerKeyResult key = LoadPlayerKey(folder_);
  if (!key.Note.empty()) std::fprintf(stderr, "%s\n", key.Note.c_str());
  key_ = key.Key;

  answerWait_.setSingleShot(true);
  connect(&answerWait_, &QTimer::timeout, this, [this] { NoAnswer(); });
  connect(&link_, &NetLink::Changed, this, [this] { Pump(); });
  // A server the player went to before is entered at once, as a door left open.
  if (net::ParseServerAddress(server_->text().toStdString())) {
    QTimer::singleShot(0, this, [this] { Enter(); });
  }
  Refresh();
}

void RoomWindow::PlaceFields() {
  const auto place = [this](QLineEdit* f, const QRect& r) {
    f->setFont(GameFont(static_cast<int>(std::lround(kTextPx * scale_)), false));
    f->setGeometry(QRectF(r.x() * scale_, r.y() * scale_, r.width() * scale_, r.height() * scale_)
                       .toAlignedRect());
  };
  place(server_, kServerField);
  place(name_, kNameField);
  place(chat_, kChatField);
}

void RoomWindow::Remember() const {
  ServerFile file = ReadServerFile(folder_);
  const std::string typed = server_->text().trimmed().toStdString();
  if (net::ParseServerAddress(typed)) file.Address = typed;
  file.Window.Name = name_->text().toStdString();
  file.Mutes = net::MutesText(room_.Mutes());
  WriteServerFile(folder_, file);
}

void RoomWindow::Enter() {
  fault_.clear();
  const auto address = net::ParseServerAddress(server_->text().toStdString());
  if (!address) {
    fault_ = QString::fromUtf8(kNetworkBadAddress);
    return Refresh();
  }
  if (!net::CheckedName(name_->text().toStdU32String())) {
    fault_ = QString::fromUtf8(kNetworkNoName);
    return Refresh();
  }
  if (key_.empty()) {
    fault_ = QString::fromUtf8(kRoomNoKey);
    return Refresh();
  }
  const std::set<std::string> mutes = room_.Mutes();
  room_ = net::RoomModel{};
  room_.SetMutes(mutes);
  lobby_ = net::Lobby{};
  tableRow_ = -1;
  tableCode_.clear();
  chair_ = 0;
  personId_ = 0;
  scroll_ = 0;
  peopleFirst_ = 0;
  chatScroll_ = FollowingScroll{};
  address_ = *address;
  stage_ = Stage::kEntering;
  sent_ = false;
  Remember();
  link_.Open(address_);
  answerWait_.start(kAnswerMs);
  Refresh();
}

void RoomWindow::Pump() {
  if (stage_ == Stage::kOutside || choice_.What != RoomChoice::Kind::kNone) return;
  if (!sent_ && link_.Connected()) {
    const auto name = net::CheckedName(name_->text().toStdU32String());
    sent_ = link_.Send(net::EnterRequest(key_, name.value_or("")));
    answerWait_.start(kAnswerMs);
  }
  while (link_.HasMessage()) {
    if (lobby_.Busy()) {
      const std::string reply = lobby_.Read(link_.Peek());
      // The message that started the match is the table window's to read.
      if (lobby_.CurrentStage() == net::Lobby::Stage::kStarted) {
        choice_.Joined = lobby_.Joined(address_);
        return Leave(RoomChoice::Kind::kPlay);
      }
      if (!reply.empty()) link_.Send(reply);
      if (!lobby_.Busy() && lobby_.LastFault() != net::Fault::kNone) {
        fault_ = QString::fromUtf8(net::FaultText(lobby_.LastFault()));
      }
    }
    std::string text;
    link_.Take(text);
    ReadMessage(text);
  }
  if (link_.Dropped() && stage_ != Stage::kNoRoom) {
    fault_ = QString::fromUtf8(sent_ ? kNetworkDropped : kNetworkNoServer);
    stage_ = Stage::kOutside;
    lobby_ = net::Lobby{};
    answerWait_.stop();
    link_.Close();
  }
  Refresh();
}

void RoomWindow::ReadMessage(const std::string& text) {
  const int linesBefore = static_cast<int>(room_.Chat().size());
  const net::RoomModel::Heard heard = room_.Read(text);
  // A chat line is one more at the end, the oldest gone once the chat is full.
  const int lines = static_cast<int>(room_.Chat().size());
  if (heard == net::RoomModel::Heard::kChat) {
    chatScroll_.Arrived(linesBefore + 1 - lines, lines, kChatRows);
  } else {
    chatScroll_.Fit(lines, kChatRows);
  }
  peopleFirst_ = ClampFirstRow(peopleFirst_, static_cast<int>(room_.People().size()), kPeopleRows);
  if (heard == net::RoomModel::Heard::kRoom && stage_ == Stage::kEntering) {
    stage_ = Stage::kInside;
    answerWait_.stop();
    // A server whose room the player entered is worth offering next time.
    WriteServerChoice(folder_, server_->text().trimmed().toStdString());
  } else if (heard == net::RoomModel::Heard::kError) {
    if (stage_ == Stage::kEntering) {
      // A server that does not know the room still makes tables and seats
      // people by a code: the pages are offered instead.
      stage_ = Stage::kNoRoom;
      answerWait_.stop();
      link_.Close();
      fault_.clear();
    } else if (room_.LastError() == "too_fast") {
      fault_ = QString::fromUtf8(kRoomTooFast);
    } else if (!lobby_.Busy() || lobby_.CurrentStage() == net::Lobby::Stage::kSeated) {
      fault_ = QString::fromUtf8(net::FaultText(net::FaultOfError(room_.LastError())));
    }
  }
  if ((heard == net::RoomModel::Heard::kTable || heard == net::RoomModel::Heard::kRoom) &&
      tableRow_ >= 0) {
    // The chosen table is followed by its code as rows come and go: a chair
    // is never taken at a table the player did not choose, and one that
    // ended is chosen no more.
    const auto& tables = room_.Tables();
    const auto it = std::find_if(tables.begin(), tables.end(),
                                 [this](const net::RoomTable& t) { return t.Code == tableCode_; });
    tableRow_ = it == tables.end() ? -1 : static_cast<int>(it - tables.begin());
    if (tableRow_ < 0) chair_ = 0;
    Refresh();
  }
}

void RoomWindow::NoAnswer() {
  if (stage_ != Stage::kEntering) return;
  link_.Close();
  stage_ = Stage::kOutside;
  fault_ = QString::fromUtf8(kNetworkNoServer);
  Refresh();
}

bool RoomWindow::Seated() const {
  return lobby_.CurrentStage() == net::Lobby::Stage::kSeated ||
         lobby_.CurrentStage() == net::Lobby::Stage::kStarting;
}

const net::RoomTable* RoomWindow::Chosen() const {
  if (tableRow_ < 0 || tableRow_ >= static_cast<int>(room_.Tables().size())) return nullptr;
  return &room_.Tables()[tableRow_];
}

const net::RoomPerson* RoomWindow::ChosenPerson() const {
  if (personId_ == 0) return nullptr;
  for (const net::RoomPerson& p : room_.People()) {
    if (p.Id == personId_) return &p;
  }
  return nullptr;
}

bool RoomWindow::Usable(Button button) const {
  const bool inside = stage_ == Stage::kInside && !lobby_.Busy();
  const net::RoomTable* t = Chosen();
  switch (button) {
    case B::kEnter:
      return stage_ == Stage::kOutside || stage_ == Stage::kNoRoom;
    case B::kQuick:
    case B::kBoard:
    case B::kOwnPage:
      return inside;
    case B::kWatch:
      return inside && t != nullptr && t->Started;
    case B::kSit:
      // Seated, the same button stands the player up again.
      if (Seated()) return true;
      return inside && t != nullptr && !t->Started && chair_ >= 1 && t->Chairs[chair_ - 1].Free();
    case B::kCreate:
    case B::kJoinCode:
      return !lobby_.Busy() && stage_ != Stage::kEntering;
    case B::kMute: {
      const net::RoomPerson* p = ChosenPerson();
      return p != nullptr && !p->Tag.empty() && p->Id != room_.You();
    }
    case B::kFill:
      return lobby_.MayFill();
    case B::kResume:
      return kept_ && !lobby_.Busy() && net::ParseServerAddress(kept_->Address);
    case B::kExit:
    case B::kCount:
      break;
  }
  return true;
}

void RoomWindow::Press(Button button) {
  if (!Usable(button)) return;
  TocaSonido(state_, Sound::kButton);
  fault_.clear();
  const auto name = net::CheckedName(name_->text().toStdU32String()).value_or("");
  switch (button) {
    case B::kEnter:
      return Enter();
    case B::kQuick:
      link_.Send(lobby_.BeginQuick(state_, name));
      break;
    case B::kSit:
      if (Seated()) {
        link_.Send(net::LeaveRequest());
        lobby_ = net::Lobby{};
      } else {
        link_.Send(lobby_.BeginJoin(Chosen()->Code, chair_, name));
      }
      break;
    case B::kWatch:
      choice_.Code = Chosen()->Code;
      return Leave(RoomChoice::Kind::kWatch);
    case B::kCreate:
      return Leave(RoomChoice::Kind::kCreatePage);
    case B::kJoinCode:
      return Leave(RoomChoice::Kind::kJoinPage);
    case B::kBoard:
    case B::kOwnPage: {
      const View wanted = button == B::kBoard ? View::kBoard : View::kOwnPage;
      view_ = view_ == wanted ? View::kTables : wanted;
      if (view_ == View::kBoard) link_.Send(net::LeaderboardRequest(20));
      if (view_ == View::kOwnPage) link_.Send(net::PlayerRequest());
      break;
    }
    case B::kMute: {
      const std::string tag = ChosenPerson()->Tag;
      if (room_.Mutes().contains(tag)) {
        room_.Unmute(tag);
      } else {
        room_.Mute(tag);
      }
      Remember();
      chatScroll_.Fit(static_cast<int>(room_.Chat().size()), kChatRows);
      break;
    }
    case B::kFill:
      link_.Send(lobby_.Fill());
      break;
    case B::kResume:
      // The seat's token takes it back; the match's own connection sends the
      // `resume`, so this one is closed.
      choice_.Joined = net::JoinedTable{*net::ParseServerAddress(kept_->Address), kept_->Code,
                                        kept_->Seat, kept_->Token, false};
      address_ = choice_.Joined->Address;
      link_.Close();
      return Leave(RoomChoice::Kind::kPlay);
    case B::kExit:
      return reject();
    case B::kCount:
      break;
  }
  Refresh();
}

void RoomWindow::Say() {
  const std::string text = net::CleanChatText(chat_->text().toStdString());
  if (text.empty() || stage_ != Stage::kInside) return;
  link_.Send(net::SayRequest(true, text));
  chat_->clear();
}

void RoomWindow::Leave(RoomChoice::Kind kind) {
  choice_.What = kind;
  choice_.Address = address_;
  if (stage_ == Stage::kNoRoom || stage_ == Stage::kOutside) {
    // The pages connect to the server typed, which may be a new one.
    if (const auto typed = net::ParseServerAddress(server_->text().toStdString())) {
      choice_.Address = *typed;
    }
  }
  if (stage_ == Stage::kInside && kind != RoomChoice::Kind::kPlay) {
    const auto name = net::CheckedName(name_->text().toStdU32String()).value_or("");
    choice_.EnterFirst = net::EnterRequest(key_, name);
  }
  Remember();
  answerWait_.stop();
  link_.disconnect(this);
  // Playing, the link goes on to the match with the start unread.
  if (kind != RoomChoice::Kind::kPlay) link_.Close();
  accept();
}

void RoomWindow::Select(int table, int chair) {
  const auto& tables = room_.Tables();
  tableRow_ = table >= 0 && table < static_cast<int>(tables.size()) ? table : -1;
  tableCode_ = tableRow_ >= 0 ? tables[tableRow_].Code : std::string();
  chair_ = tableRow_ < 0 ? 0 : chair;
  if (tableRow_ >= 0 && tableRow_ < scroll_) scroll_ = tableRow_;
  if (tableRow_ >= scroll_ + kTableRows) scroll_ = tableRow_ - kTableRows + 1;
  Refresh();
}

void RoomWindow::ClickList(QPoint at) {
  if (view_ != View::kTables) return;
  const int row = scroll_ + (at.y() - kList.y()) / kTableRowH;
  if (row >= static_cast<int>(room_.Tables().size())) return;
  const int chairW = (kList.width() - 12) / kSeats;
  const int y = (at.y() - kList.y()) % kTableRowH;
  const int chair = y >= 20 ? std::clamp((at.x() - kList.x() - 6) / chairW + 1, 1, kSeats) : 0;
  Select(row, chair);
}

void RoomWindow::ClickPeople(QPoint at) {
  const int row = (at.y() - kPeople.y() - 2) / kLineH;
  if (row < 0 || row >= kPeopleRows) return;
  const auto& people = room_.People();
  const int index = peopleFirst_ + row;
  if (index < static_cast<int>(people.size())) personId_ = people[index].Id;
  Refresh();
}

bool RoomWindow::StopOpen(int stop) const {
  if (stop < 0 || stop >= kFocusStops) return false;
  const FocusStop& s = kFocusRing[stop];
  switch (s.Kind) {
    case Stop::kServer:
      return server_->isEnabled();
    case Stop::kName:
      return name_->isEnabled();
    case Stop::kChat:
      return chat_->isEnabled();
    case Stop::kList:
      // While the room is entered too: the keyboard waits where its tables come.
      return stage_ == Stage::kInside || stage_ == Stage::kEntering;
    case Stop::kButton:
      break;
  }
  return Usable(s.Which);
}

int RoomWindow::CurrentStop() const {
  const QWidget* at = focusWidget();
  for (int stop = 0; stop < kFocusStops; ++stop) {
    const Stop kind = kFocusRing[stop].Kind;
    if ((kind == Stop::kServer && at == server_) || (kind == Stop::kName && at == name_) ||
        (kind == Stop::kChat && at == chat_)) {
      return stop;
    }
  }
  return hasFocus() ? focusStop_ : -1;
}

void RoomWindow::FocusStopAt(int stop, Qt::FocusReason reason) {
  focusStop_ = stop;
  switch (kFocusRing[stop].Kind) {
    case Stop::kServer:
      server_->setFocus(reason);
      break;
    case Stop::kName:
      name_->setFocus(reason);
      break;
    case Stop::kChat:
      chat_->setFocus(reason);
      break;
    case Stop::kList:
    case Stop::kButton:
      setFocus(reason);
      break;
  }
  Refresh();
}

const char* RoomWindow::FocusName() const {
  const int stop = CurrentStop();
  if (stop < 0) return "none";
  switch (kFocusRing[stop].Kind) {
    case Stop::kServer:
      return "server";
    case Stop::kName:
      return "name";
    case Stop::kList:
      return "list";
    case Stop::kChat:
      return "chat";
    case Stop::kButton:
      break;
  }
  static constexpr const char* kNames[] = {"enter", "quick", "watch", "sit",  "create", "code",
                                           "board", "page",  "mute",  "exit", "fill",   "resume"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(B::kCount));
  return kNames[static_cast<int>(kFocusRing[stop].Which)];
}

RoomWindow::Button RoomWindow::FocusedButton() const {
  if (!hasFocus() || focusStop_ < 0 || focusStop_ >= kFocusStops) return B::kCount;
  const FocusStop& s = kFocusRing[focusStop_];
  return s.Kind == Stop::kButton ? s.Which : B::kCount;
}

bool RoomWindow::focusNextPrevChild(bool next) {
  std::array<bool, kFocusStops> open{};
  for (int stop = 0; stop < kFocusStops; ++stop) open[stop] = StopOpen(stop);
  const int to = NextFocusStop(open, CurrentStop(), next);
  if (to < 0) return false;
  FocusStopAt(to, next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void RoomWindow::ScrollChat(int rows) {
  chatScroll_.Scroll(rows, static_cast<int>(room_.Chat().size()), kChatRows);
  Refresh();
}

void RoomWindow::Refresh() {
  const bool outside = stage_ == Stage::kOutside || stage_ == Stage::kNoRoom;
  server_->setEnabled(outside);
  name_->setEnabled(outside);
  chat_->setEnabled(stage_ == Stage::kInside);
  update();
  if (TestStatusWanted()) {
    ReportTestStatus(
        QStringLiteral("room %1 tables %2 people %3 chat %4 from %5 people-from %6 focus %7 "
                       "fill %8 seated %9")
            .arg(QString::fromLatin1(StageName(stage_)))
            .arg(room_.Tables().size())
            .arg(room_.People().size())
            .arg(room_.Chat().size())
            .arg(chatScroll_.First)
            .arg(peopleFirst_)
            .arg(QString::fromLatin1(FocusName()))
            .arg(Usable(B::kFill) ? 1 : 0)
            .arg(Seated() ? lobby_.Seat() : 0));
  }
}

void RoomWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = (event->position() / scale_).toPoint();
  for (int b = 0; b < static_cast<int>(B::kCount); ++b) {
    const auto button = static_cast<B>(b);
    // The offer to fill and the way back share a place: the usable one takes it.
    if (ButtonRect(button).contains(at) && Usable(button)) {
      // A clicked button has the keyboard after, as a pressed one has.
      focusStop_ = RingIndex(Stop::kButton, button);
      return Press(button);
    }
  }
  if (kList.contains(at)) {
    focusStop_ = RingIndex(Stop::kList);
    setFocus(Qt::MouseFocusReason);
    ClickList(at);
  }
  if (kPeople.contains(at)) ClickPeople(at);
}

void RoomWindow::wheelEvent(QWheelEvent* event) {
  const int turn = event->angleDelta().y();
  if (turn == 0) return;
  // Each list under the pointer scrolls on its own; elsewhere, the tables.
  const QPoint at = (event->position() / scale_).toPoint();
  const int rows = turn < 0 ? 1 : -1;
  if (kPeople.contains(at)) {
    peopleFirst_ = ClampFirstRow(peopleFirst_ + rows * kWheelLines,
                                 static_cast<int>(room_.People().size()), kPeopleRows);
    return Refresh();
  }
  if (kChat.contains(at)) return ScrollChat(rows * kWheelLines);
  scroll_ = ClampFirstRow(scroll_ + rows, static_cast<int>(room_.Tables().size()), kTableRows);
  Refresh();
}

void RoomWindow::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const int rows = static_cast<int>(room_.Tables().size());
  if (key == Qt::Key_Escape && view_ != View::kTables) {
    view_ = View::kTables;
    return Refresh();
  }
  const Button focused = FocusedButton();
  if (focused != B::kCount && Usable(focused) &&
      (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    return Press(focused);
  }
  // The chat's field leaves the page keys to the chat above it.
  if (focusWidget() == chat_ && (key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
    return ScrollChat(key == Qt::Key_PageUp ? -(kChatRows - 1) : kChatRows - 1);
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (focusWidget() == chat_) return Say();
    if (stage_ != Stage::kInside) return Press(B::kEnter);
    // On a chosen table: its free chair taken, or a started table watched.
    return Press(Usable(B::kSit) ? B::kSit : B::kWatch);
  }
  // The arrows choose in the list, unless a drawn button has the keyboard.
  if (focusWidget() != chat_ && focused == B::kCount && rows > 0) {
    if (key == Qt::Key_Down) return Select(std::min(tableRow_ + 1, rows - 1), chair_);
    if (key == Qt::Key_Up) return Select(std::max(tableRow_ - 1, 0), chair_);
    if (key == Qt::Key_Right && tableRow_ >= 0) return Select(tableRow_, chair_ % kSeats + 1);
    if (key == Qt::Key_Left && tableRow_ >= 0) {
      return Select(tableRow_, (chair_ + kSeats - 2) % kSeats + 1);
    }
  }
  QDialog::keyPressEvent(event);
}

void RoomWindow::reject() {
  if (Seated()) link_.Send(net::LeaveRequest());
  if (stage_ == Stage::kInside) link_.Send(net::LeaveRoomRequest());
  Remember();
  answerWait_.stop();
  // The connection's end is this window's doing, not a fault to show.
  link_.disconnect(this);
  link_.Close();
  TocaSonido(state_, Sound::kClose);
  QDialog::reject();
}

RoomChoice OpenRoomWindow(const GameState& state, NetLink& link,
                          const std::filesystem::path& folder, QWidget* parent) {
  if (!parent) parent = QApplication::activeWindow();
  RoomWindow window(state, link, folder, parent);
  ExecCentred(window, parent, window.findChild<QLineEdit*>(QStringLiteral("Txt_Servidor")));
  return window.Choice();
}

}  // namespace tarvelis
