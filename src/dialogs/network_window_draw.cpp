// The network window drawn: its pages' fields and labels, the seats round the
// table with who sits at them, the code on the felt and the line saying where
// the window stands.
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

#include "dialogs/message_dialog.h"
#include "dialogs/network_window.h"
#include "dialogs/network_window_layout.h"
#include "model/room_texts.h"
#include "model/texts.h"
#include "platform/net_link.h"
#include "platform/raster.h"
#include "platform/text.h"

namespace tarvelis {
namespace {

using namespace network_layout;
using net::Lobby;
using net::SeatKind;

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
  DrawPublicCheck(image);

  const bool idle = !lobby_.Busy();
  if (lobby_.Host() && !idle) {
    DrawDialogButton(image, kAction, Utf(kNetworkStartLabel), lobby_.MayStart());
  } else {
    DrawDialogButton(image, kAction, Utf(joining_ ? kNetworkJoinLabel : kNetworkCreateLabel), idle);
  }
  DrawDialogButton(image, kExit, Utf(kExitLabel));
  if (kept_ && idle) DrawDialogButton(image, kResume, Utf(NetResumeLabel(kept_->Code)));
  // In the same place, never at once: the way back is offered only before sitting.
  if (lobby_.MayFill()) DrawDialogButton(image, kResume, Utf(kRoomFillLabel));
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(rect()), image, QRectF(image.rect()));
}

void NetworkWindow::DrawPublicCheck(QImage& image) const {
  if (!OffersPublic()) return;
  const QRect box(kPublicCheck.x(), kPublicCheck.y() + 4, 14, 14);
  {
    QPainter p(&image);
    p.fillRect(box, Qt::white);
    p.setPen(QPen(kDialogFrame, 1));
    p.drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
    if (plan_.Public) {
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(kDialogFrame, 2));
      p.drawLine(QPointF(box.x() + 3, box.y() + 7), QPointF(box.x() + 6, box.y() + 10));
      p.drawLine(QPointF(box.x() + 6, box.y() + 10), QPointF(box.x() + 11, box.y() + 3));
    }
  }
  DrawText(image, box.right() + 6, kPublicCheck.y() + 4, Utf(kRoomPublicCheck), kTextPx, true,
           kInk);
}

}  // namespace tarvelis
