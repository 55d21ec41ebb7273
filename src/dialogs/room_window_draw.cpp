// The room window drawn: the fields' labels, the public tables with their
// chairs (or the ranking, or the player's own page in their place), the
// people present, the chat, the buttons and the line saying where the window
// stands.
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

#include "dialogs/message_dialog.h"
#include "dialogs/room_window.h"
#include "dialogs/room_window_layout.h"
#include "layout/list_scroll.h"
#include "model/room_texts.h"
#include "model/texts.h"
#include "platform/net_link.h"
#include "platform/raster.h"
#include "platform/text.h"

namespace tarvelis {
namespace {

using namespace room_layout;
using B = RoomWindow::Button;

QString Utf(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
QString Utf(const char* text) {
  return QString::fromUtf8(text);
}

// One line of text in `r`, cut with an ellipsis when it does not fit.
void Line(QPainter& p, const QRect& r, const QString& text, int px, bool bold, const QColor& ink,
          Qt::Alignment align = Qt::AlignLeft) {
  p.setFont(GameFont(px, bold));
  p.setPen(ink);
  p.drawText(r, align | Qt::AlignVCenter,
             p.fontMetrics().elidedText(text, Qt::ElideRight, r.width()));
}

void Panel(QPainter& p, const QRect& r) {
  p.fillRect(r, Qt::white);
  p.setPen(QPen(kDialogFrame, 1));
  p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
}

// Where the rows shown stand among them all: a thin bar inside the panel's
// right edge, drawn only when there are more than fit.
void RowsMark(QImage& image, const QRect& panel, int first, int shown, int count) {
  if (count <= shown) return;
  const QRect track = panel.adjusted(0, 2, -2, -2);
  const ScrollMark mark = MarkOfRows(track.height(), first, shown, count, kMarkLeast);
  QPainter p(&image);
  p.fillRect(QRect(track.right() - kMarkW + 1, track.y() + mark.Y, kMarkW, mark.H), kDialogFrame);
}

QString ChairText(const net::RoomChair& c) {
  if (c.Kind == net::SeatKind::kExpert) return Utf(kNetworkExpert);
  if (c.Kind == net::SeatKind::kComputer) {
    return Utf(kRoomComputerShort) + QStringLiteral(" %1").arg(c.Level);
  }
  if (c.Free()) return Utf(kNetworkFree);
  return Utf(c.Name) + (c.Rating > 0 ? QStringLiteral(" %1").arg(c.Rating) : QString());
}

QString Ranked(const net::RankedPlayer& r) {
  return QStringLiteral("%1  ±%2   %3 %4   %5/%6 %7 %8")
      .arg(r.Rating)
      .arg(r.Deviation)
      .arg(r.Matches)
      .arg(Utf(kRoomMatchesWord))
      .arg(r.HandsWon)
      .arg(r.Hands)
      .arg(Utf(kRoomHandsWord))
      .arg(Utf(kRoomWonWord));
}

}  // namespace

QString RoomWindow::Label(Button button) const {
  switch (button) {
    case B::kEnter:
      return Utf(kRoomEnterLabel);
    case B::kQuick:
      return Utf(kRoomQuickLabel);
    case B::kWatch:
      return Utf(kRoomWatchLabel);
    case B::kSit:
      return Utf(Seated() ? kRoomStandLabel : kRoomSitLabel);
    case B::kCreate:
      return Utf(kRoomCreateLabel);
    case B::kJoinCode:
      return Utf(kRoomJoinCodeLabel);
    case B::kBoard:
      return Utf(view_ == View::kBoard ? kRoomTablesLabel : kRoomLeaderboardLabel);
    case B::kOwnPage:
      return Utf(view_ == View::kOwnPage ? kRoomTablesLabel : kRoomOwnPageLabel);
    case B::kMute: {
      const net::RoomPerson* p = ChosenPerson();
      return Utf(p != nullptr && room_.Mutes().contains(p->Tag) ? kRoomUnmuteLabel
                                                                : kRoomMuteLabel);
    }
    case B::kExit:
      return Utf(kExitLabel);
    case B::kFill:
      return Utf(kRoomFillLabel);
    case B::kResume:
      return Utf(NetResumeLabel(kept_ ? kept_->Code : std::string()));
    case B::kCount:
      break;
  }
  return {};
}

QString RoomWindow::StatusLine() const {
  if (!fault_.isEmpty()) return fault_;
  switch (stage_) {
    case Stage::kOutside:
      return Utf(Usable(B::kResume) ? kRoomResumeHint : kRoomOutside);
    case Stage::kEntering:
      return Utf(link_.Connected() ? kRoomEntering : kNetworkConnecting);
    case Stage::kNoRoom:
      return Utf(Usable(B::kResume) ? kRoomResumeHint : kRoomNoRoom);
    case Stage::kInside:
      break;
  }
  switch (lobby_.CurrentStage()) {
    case net::Lobby::Stage::kIdle:
      if (Usable(B::kResume)) return Utf(kRoomResumeHint);
      return Utf(room_.Tables().empty() ? kRoomNoTables : kRoomHint);
    case net::Lobby::Stage::kCreating:
    case net::Lobby::Stage::kJoining:
      return Utf(kNetworkSitting);
    case net::Lobby::Stage::kSeated:
      if (Usable(B::kFill)) return Utf(kRoomMayFill);
      return Utf(lobby_.Code()) + QStringLiteral(": ") + Utf(kNetworkWaitingPlayers);
    case net::Lobby::Stage::kStarting:
    case net::Lobby::Stage::kStarted:
      break;
  }
  return Utf(kNetworkStarting);
}

void RoomWindow::DrawTable(QImage& image, const net::RoomTable& t, int row, bool chosen) const {
  const QRect r(kList.x() + 1, kList.y() + 1 + row * kTableRowH, kList.width() - 2, kTableRowH);
  QPainter p(&image);
  if (chosen) p.fillRect(r, kChosen);
  const QString state =
      (t.Started ? Utf(kRoomStarted) : Utf(kRoomWaiting)) +
      (t.Watchers > 0 ? QStringLiteral(", %1 %2").arg(t.Watchers).arg(Utf(kRoomWatchersWord))
                      : QString());
  Line(p, QRect(r.x() + 6, r.y() + 2, 100, 16), Utf(t.Code), kTextPx, true, kInk);
  Line(p, QRect(r.right() - 140, r.y() + 2, 134, 16), state, kSmallTextPx, false, kQuietInk,
       Qt::AlignRight);
  Line(p, QRect(r.x() + 108, r.y() + 2, r.width() - 252, 16), Utf(t.Rules), kSmallTextPx, false,
       kInk);
  const int chairW = (kList.width() - 12) / kSeats;
  for (int i = 0; i < kSeats; ++i) {
    const QRect c(r.x() + 5 + i * chairW, r.y() + 20, chairW - 4, 20);
    const net::RoomChair& chair = t.Chairs[i];
    const bool mine = chosen && chair_ == i + 1;
    p.fillRect(c, kCard);
    p.setPen(QPen(mine ? kChosenFrame : kDialogFrame, mine ? 2 : 1));
    p.drawRect(QRectF(c).adjusted(0.5, 0.5, -0.5, -0.5));
    Line(p, c.adjusted(5, 0, -3, 0), ChairText(chair), kSmallTextPx, chair.Free(),
         chair.Free() ? kFreeInk : kInk);
  }
  p.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 1));
  p.drawLine(r.left() + 4, r.bottom(), r.right() - 4, r.bottom());
}

void RoomWindow::DrawTables(QImage& image) const {
  const auto& tables = room_.Tables();
  const int count = static_cast<int>(tables.size());
  for (int row = 0; row < kTableRows && scroll_ + row < count; ++row) {
    DrawTable(image, tables[scroll_ + row], row, scroll_ + row == tableRow_);
  }
  RowsMark(image, kList, scroll_, kTableRows, count);
}

void RoomWindow::DrawBoard(QImage& image) const {
  QPainter p(&image);
  if (room_.Leaderboard().empty()) {
    Line(p, kList.adjusted(8, 4, -8, 0).adjusted(0, 0, 0, -kList.height() + 20),
         Utf(kRoomNobodyRanked), kTextPx, false, kQuietInk);
  }
  int y = kList.y() + 4;
  int place = 1;
  for (const net::RankedPlayer& r : room_.Leaderboard()) {
    if (y + kLineH > kList.bottom()) break;
    const QString who = QStringLiteral("%1. ").arg(place++) + Utf(r.Name) +
                        (r.Tag.empty() ? QString() : QStringLiteral(" #") + Utf(r.Tag));
    Line(p, QRect(kList.x() + 8, y, 170, kLineH), who, kSmallTextPx, false, kInk);
    Line(p, QRect(kList.x() + 180, y, kList.width() - 188, kLineH), Ranked(r), kSmallTextPx, false,
         kInk);
    y += kLineH;
  }
}

void RoomWindow::DrawOwnPage(QImage& image) const {
  QPainter p(&image);
  const auto& page = room_.Page();
  if (!page) return;
  int y = kList.y() + 4;
  const QString who =
      Utf(page->Self.Name) + (page->Self.Tag.empty() ? QString() : " #" + Utf(page->Self.Tag));
  Line(p, QRect(kList.x() + 8, y, kList.width() - 16, 16), who, kTextPx, true, kInk);
  y += 18;
  Line(p, QRect(kList.x() + 8, y, kList.width() - 16, kLineH),
       Utf(kRoomRatingWord) + QStringLiteral(": ") + Ranked(page->Self), kSmallTextPx, false, kInk);
  y += kLineH + 6;
  if (page->History.empty()) {
    Line(p, QRect(kList.x() + 8, y, kList.width() - 16, kLineH), Utf(kRoomNoHistory), kSmallTextPx,
         false, kQuietInk);
  }
  for (const net::PastMatch& m : page->History) {
    if (y + kLineH > kList.bottom()) break;
    const QString line = QStringLiteral("%1   %2   %3 → %4")
                             .arg(Utf(m.Date))
                             .arg(m.Total)
                             .arg(m.Before)
                             .arg(m.After);
    Line(p, QRect(kList.x() + 8, y, kList.width() - 16, kLineH), line, kSmallTextPx, false, kInk);
    y += kLineH;
  }
}

void RoomWindow::DrawPeople(QImage& image) const {
  const auto& people = room_.People();
  const int count = static_cast<int>(people.size());
  // The mark takes the right edge when there is one.
  const int markW = count > kPeopleRows ? kMarkW + 2 : 0;
  QPainter p(&image);
  int y = kPeople.y() + 2;
  for (int i = peopleFirst_; i < count && i < peopleFirst_ + kPeopleRows; ++i) {
    const net::RoomPerson& person = people[i];
    const QRect r(kPeople.x() + 1, y, kPeople.width() - 2 - markW, kLineH);
    if (person.Id == personId_) p.fillRect(r, kChosen);
    QString where = Utf(person.Where).left(5);
    if (room_.Mutes().contains(person.Tag)) where = Utf(kRoomMuted);
    const bool you = person.Id == room_.You();
    Line(p, QRect(r.x() + 4, y, 80, kLineH), Utf(room_.ShownName(person)), kSmallTextPx, you, kInk);
    Line(p, QRect(r.x() + 84, y, 30, kLineH), QString::number(person.Rating), kSmallTextPx, false,
         kQuietInk, Qt::AlignRight);
    Line(p, QRect(r.x() + 118, y, r.width() - 120, kLineH), where, kSmallTextPx, false, kQuietInk);
    y += kLineH;
  }
  p.end();
  RowsMark(image, kPeople, peopleFirst_, kPeopleRows, count);
}

void RoomWindow::DrawChat(QImage& image) const {
  const auto& lines = room_.Chat();
  const int count = static_cast<int>(lines.size());
  // Clamped here too: a line may have gone since the window last counted.
  const int first = ClampFirstRow(chatScroll_.First, count, kChatRows);
  const int markW = count > kChatRows ? kMarkW + 2 : 0;
  QPainter p(&image);
  int y = kChat.y() + 2;
  for (int i = first; i < count && i < first + kChatRows; ++i) {
    const net::ChatLine& line = lines[i];
    const net::RoomPerson* speaker = room_.PersonOf(line.From);
    QString who = speaker != nullptr && speaker->Tag == line.Tag ? Utf(room_.ShownName(*speaker))
                                                                 : Utf(line.Name);
    if (!line.ToRoom) who = Utf(kRoomTableMark) + ' ' + who;
    p.setFont(GameFont(kSmallTextPx, true));
    const int w = std::min(p.fontMetrics().horizontalAdvance(who + ": "), 140);
    Line(p, QRect(kChat.x() + 4, y, w, kLineH), who + QStringLiteral(":"), kSmallTextPx, true,
         kDialogFrame);
    Line(p, QRect(kChat.x() + 6 + w, y, kChat.width() - w - 10 - markW, kLineH), Utf(line.Text),
         kSmallTextPx, false, kInk);
    y += kLineH;
  }
  p.end();
  RowsMark(image, kChat, first, kChatRows, count);
}

void RoomWindow::DrawFocus(QImage& image) const {
  // Only where the window itself has the keyboard: a field shows its caret.
  if (!hasFocus() || focusStop_ < 0 || !StopOpen(focusStop_)) return;
  const FocusStop& stop = kFocusRing[focusStop_];
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::NoBrush);
  if (stop.Kind == Stop::kList) {
    // Inside the list's frame, clear of the rows' own marks.
    p.setPen(QPen(kChosenFrame, 2));
    p.drawRect(QRectF(kList).adjusted(1, 1, -1, -1));
  } else if (stop.Kind == Stop::kButton) {
    // A gold ring just inside the button's rounded edge.
    QPainterPath ring;
    ring.addRoundedRect(QRectF(ButtonRect(stop.Which)).adjusted(2.5, 2.5, -2.5, -2.5), 4, 4);
    p.setPen(QPen(kFocusInk, 2));
    p.drawPath(ring);
  }
}

void RoomWindow::paintEvent(QPaintEvent*) {
  QImage image = ScaledCanvas(width(), height(), scale_, devicePixelRatioF());
  {
    QPainter p(&image);
    DrawDialogPanel(p, QSize(kWidth, kHeight), QRect(0, 0, kWidth, kTitleH));
    Line(p, QRect(kMargin, kFieldY, kServerField.x() - kMargin - 2, 22), Utf(kNetworkServerLabel),
         kTextPx, true, kInk);
    Line(p, QRect(kServerField.right() + 6, kFieldY, kNameField.x() - kServerField.right() - 8, 22),
         Utf(kNetworkNameLabel), kTextPx, true, kInk);
    const char* heading = view_ == View::kBoard     ? kRoomLeaderboardHeading
                          : view_ == View::kOwnPage ? kRoomOwnPageHeading
                                                    : kRoomTablesHeading;
    Line(p, QRect(kMargin, kList.y() - 18, kLeftW, 16), Utf(heading), kTextPx, true, kDialogFrame);
    Line(p, QRect(kColumnX, kPeople.y() - 18, kColumnW, 16), Utf(kRoomPeopleHeading), kTextPx, true,
         kDialogFrame);
    Line(p, QRect(kMargin, kChat.y() - 18, kLeftW, 16), Utf(kRoomChatHeading), kTextPx, true,
         kDialogFrame);
    Panel(p, kList);
    Panel(p, kPeople);
    Panel(p, kChat);
    const bool fault = !fault_.isEmpty();
    p.setFont(GameFont(kSmallTextPx, fault));
    p.setPen(fault ? kFaultInk : kInk);
    const QRect status = Usable(B::kFill) || Usable(B::kResume)
                             ? kStatus.adjusted(0, 0, -ButtonRect(B::kFill).width() - 8, 0)
                             : kStatus;
    p.drawText(status, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, StatusLine());
  }
  DrawText(image, 8, 6, Utf(kRoomTitle), kTextPx, true, Qt::white);
  if (view_ == View::kBoard) {
    DrawBoard(image);
  } else if (view_ == View::kOwnPage) {
    DrawOwnPage(image);
  } else {
    DrawTables(image);
  }
  DrawPeople(image);
  DrawChat(image);
  for (int b = 0; b < static_cast<int>(B::kCount); ++b) {
    const auto button = static_cast<B>(b);
    // The offer to fill shows only while it stands.
    if ((button == B::kFill || button == B::kResume) && !Usable(button)) continue;
    DrawDialogButton(image, ButtonRect(button), Label(button), Usable(button));
  }
  DrawFocus(image);
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(rect()), image, QRectF(image.rect()));
}

}  // namespace tarvelis
