// The settings window's points of the match: the value and its two arrows,
// which repeat while held.
#include <QPainter>
#include <algorithm>

#include "dialogs/settings_parts.h"
#include "dialogs/settings_window.h"
#include "model/clock.h"
#include "model/names.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"

namespace tarvelis {

using namespace personal;

void Personal::DrawMatchTarget() {
  const QPoint b = kTargetBox;
  QPainter(&players_).fillRect(b.x(), b.y(), kTargetW, kTargetH, kGrey);
  Etched(players_, QRect(b.x(), b.y() + 5, kTargetW, kTargetH - 5));
  EtchedTitle(players_, b.x(), b.y(), kTargetW, QString::fromUtf8(kTargetTitle));
  Etched(players_, QRect(b.x() + 36, b.y() + 23, 42, 28));
  DrawArrow(true, false);
  DrawArrow(false, false);
  // The value: cleared, then printed bold and centred on x 56.
  const int cx = b.x() + 56;
  const QString value = QString::number(state_.MatchTarget);
  QPainter(&players_).fillRect(cx - 18, b.y() + 36, 36, 14, kGrey);
  DrawText(players_, cx - TextWidth(value, kTextPx, true) / 2, b.y() + 36, value, kTextPx, true,
           Qt::black);
  ShowArea(players_, QRect(b, QSize(kTargetW, kTargetH)));
}

void Personal::DrawArrow(bool up, bool pressed) {
  const QPoint at = up ? kUpArrow : kDownArrow;
  Copy(players_, at.x(), at.y(),
       up ? (pressed ? art::kArrowUpPressed : art::kArrowUp)
          : (pressed ? art::kArrowDownPressed : art::kArrowDown));
  ShowArea(players_, QRect(at, QSize(art::kArrowUp.w, art::kArrowUp.h)));
}

QRect Personal::ArrowRect(bool up) const {
  return QRect(up ? kUpArrow : kDownArrow, QSize(art::kArrowUp.w, art::kArrowUp.h));
}

// Over an arrow's own pixels, not the grey around its point.
bool Personal::OverArrow(QPoint at, bool up) const {
  const QRect r = ArrowRect(up);
  if (rulesShown_ || !r.contains(at)) return false;
  const art::Cell c = up ? art::kArrowUp : art::kArrowDown;
  const QRgb pixel = Sheet().pixel(c.x + at.x() - r.x(), c.y + at.y() - r.y());
  return (pixel & 0xFFFFFF) != art::kPanelGreyRgb;
}

// A press on an arrow steps the target once and, while the arrow is held,
// again on every beat of the repeat.
bool Personal::PressOnArrow(QPoint at) {
  const bool up = OverArrow(at, true);
  if (!up && !OverArrow(at, false)) return false;
  repeatUp_ = up;
  repeatDown_ = !up;
  StepArrow();
  if (repeatUp_ || repeatDown_) {
    const int ms = static_cast<int>(2000 * WaitSeconds(25, state_.GameSpeed));
    repeat_.start(std::max(ms, 40));
  }
  return true;
}

void Personal::StepArrow() {
  if (!repeatUp_ && !repeatDown_) {
    repeat_.stop();
    return;
  }
  const int step = repeatUp_ ? 1 : -1;
  // A step the match under way must agree to stops the repeat and asks; the
  // arrow comes up in the question, so an agreed step is the last.
  bool last = false;
  if (ChangeRuleFor(state_, kTargetRule, StepMatchTarget(state_.MatchTarget, step)).Kind ==
      ChangeKind::Ask) {
    repeat_.stop();
    Events events(*this);
    if (PressMatchTarget(state_, step, events) == TargetPress::Refused) {
      StopArrows();
      return;
    }
    last = true;
  }
  DrawArrow(repeatUp_, true);
  TocaSonido(state_, Sound::kLimitMoves);
  state_.MatchTarget = StepMatchTarget(state_.MatchTarget, step);
  DrawMatchTarget();
  DrawArrow(repeatUp_, true);
  if (last) {
    StopArrows();
    return;
  }
  const int ms = static_cast<int>(1000 * WaitSeconds(25, state_.GameSpeed));
  release_.start(std::max(ms, 20));
}

void Personal::StopArrows() {
  if (!repeatUp_ && !repeatDown_) return;
  repeatUp_ = repeatDown_ = false;
  repeat_.stop();
  release_.stop();
  DrawArrow(true, false);
  DrawArrow(false, false);
}

}  // namespace tarvelis
