// The settings window's two pages: the players page with its seat panels,
// expert ticks and direction of play, and the rules page with its groups.
#include <QPainter>
#include <algorithm>

#include "dialogs/settings_parts.h"
#include "dialogs/settings_window.h"
#include "model/names.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"

namespace tarvelis {

using namespace personal;

void Personal::DrawPlayersPage() {
  const QImage& marble = Marble();
  if (marble.isNull()) {
    players_.fill(QColor(0x1E, 0x4A, 0x2C));
  } else {
    Blit(players_, 0, 0, kWidth, kHeight, marble, 0, 0, RasterOp::Copy);
  }
  {
    QPainter p(&players_);
    p.fillRect(0, 0, kWidth, 2, kFrame);
    p.fillRect(0, kHeight - 2, kWidth, 2, kFrame);
    p.fillRect(0, 0, 2, kHeight, kFrame);
    p.fillRect(kWidth - 2, 0, 2, kHeight, kFrame);
  }
  for (int seat = 1; seat <= kSeats; ++seat) DrawSeatPanel(seat);
  for (const Place& place : ThePlaces()) {
    if (!place.rules) DrawSelector(place.index);
  }
  DrawSlider(0);
  DrawDirection();
  DrawMatchTarget();
  DrawExpertTick(0);
  Copy(players_, kRulesButtonAt.x(), kRulesButtonAt.y(), art::kRulesButton);
  Copy(players_, kExitButtonAt.x(), kExitButtonAt.y(), art::kExitButton);
}

void Personal::DrawSeatPanel(int seat) {
  const QPoint o = SeatAt(seat);
  QPainter(&players_).fillRect(o.x() - 12, o.y() - 7, 158, 172, kGrey);
  Etched(players_, QRect(o.x() - 12, o.y() - 7, 158, 172));
  DrawText(players_, o.x() - 6, o.y() + 3, QString::fromUtf8(kNameLabel), kSmallTextPx, false,
           Qt::black);
  DrawSlider(seat);
  DrawExpertTick(seat);
}

QRect Personal::ExpertTickRect(int seat) const {
  if (seat == 0) return QRect(kTutorTickAt, QSize(kTickBox + 4 + 90, kTickBox + 4));
  const QPoint o = SeatAt(seat);
  return QRect(o.x() - 4, o.y() + 151, kTickBox + 4 + 60, kTickBox + 4);
}

void Personal::DrawExpertTick(int seat) {
  const QRect r = ExpertTickRect(seat);
  const bool ticked = seat == 0 ? state_.TutorExpert : state_.SeatExpert[seat];
  {
    QPainter p(&players_);
    p.fillRect(r, kGrey);
    const QRect box(r.x() + 2, r.y() + 2, kTickBox, kTickBox);
    p.fillRect(box, Qt::white);
    p.setPen(kEtch);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    if (ticked) {
      p.setPen(QPen(Qt::black, 2));
      p.drawLine(box.x() + 2, box.y() + 5, box.x() + 4, box.y() + 8);
      p.drawLine(box.x() + 4, box.y() + 8, box.x() + 8, box.y() + 2);
    }
  }
  DrawText(players_, r.x() + kTickBox + 6, r.y() + 1,
           QString::fromUtf8(seat == 0 ? kTutorTickLabel : kExpertTickLabel), kSmallTextPx, false,
           Qt::black);
  ShowArea(players_, r);
}

// A click on a tick turns the expert on or off for its seat or the tutor.
bool Personal::PressOnExpertTick(QPoint at) {
  if (rulesShown_) return false;
  for (int seat = 0; seat <= kSeats; ++seat) {
    if (!ExpertTickRect(seat).contains(at)) continue;
    bool& ticked = seat == 0 ? state_.TutorExpert : state_.SeatExpert[seat];
    ticked = !ticked;
    TocaSonido(state_, Sound::kSwitchStarts);
    DrawExpertTick(seat);
    return true;
  }
  return false;
}

void Personal::DrawRulesPage() {
  // The rules page lies over the players page, inside its frame; it is kept
  // in the window's own places.
  const QPoint o = kRulesPageAt;
  const int w = kWidth - 2 * o.x();
  const int h = kHeight - 2 * o.y();
  {
    QPainter p(&rules_);
    p.fillRect(0, 0, kWidth, kHeight, kFrame);
  }
  const QImage& marble = Marble();
  if (marble.isNull()) {
    QPainter(&rules_).fillRect(o.x(), o.y(), w, h, QColor(0x1E, 0x4A, 0x2C));
  } else {
    // Another part of the marble than the players page, so the page change shows.
    Blit(rules_, o.x(), o.y(), w, h, marble, 0, marble.height() - kHeight, RasterOp::Copy);
  }
  {
    QPainter p(&rules_);
    p.setPen(QPen(kFrame, 2));
    p.drawRect(QRect(o.x() + 1, o.y() + 1, w - 2, h - 2));
  }
  for (const Group& g : kGroups) {
    DrawGroupFrame(rules_, o.x() + g.x, o.y() + g.y, g.w, g.h, Utf(g.title));
  }
  for (const Place& place : ThePlaces()) {
    if (place.rules) DrawSelector(place.index);
  }
  Copy(rules_, o.x() + kRulesExitAt.x(), o.y() + kRulesExitAt.y(), art::kExitButton);
}

void Personal::DrawGroupFrame(QImage& page, int x, int y, int w, int h, const QString& title) {
  QPainter(&page).fillRect(x, y, w, h, kGrey);
  Etched(page, QRect(x + 4, y + 8, w - 8, h - 12));
  EtchedTitle(page, x, y + 2, w, title);
}

void Personal::DrawDirection() {
  Copy(players_, kDirectionAt.x(), kDirectionAt.y(),
       state_.RuleDirection == kReverse ? art::kDirectionReverse : art::kDirectionForward);
  ShowArea(players_,
           QRect(kDirectionAt, QSize(art::kDirectionForward.w, art::kDirectionForward.h)));
}

}  // namespace tarvelis
