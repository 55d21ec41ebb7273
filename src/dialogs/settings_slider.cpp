// The settings window's sliders: the seats' playing strength and the game's
// speed, drawn and dragged by their thumbs.
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

void Personal::DrawSlider(int slider) {
  const QPoint at = SliderAt(slider);
  const int w = SliderW(slider);
  QPainter(&players_).fillRect(at.x(), at.y(), w, kSliderH, kGrey);
  Etched(players_, QRect(at.x(), at.y() + 5, w, kSliderH - 5));
  EtchedTitle(players_, at.x(), at.y(), w,
              QString::fromUtf8(slider == 0 ? kSpeedSliderTitle : kLevelSliderTitle));
  Copy(players_, at.x() + kTrackX, at.y() + kThumbY, art::kSliderTrack);
  const QPoint thumb = SliderThumb(slider);
  Copy(players_, thumb.x(), thumb.y(), art::kSliderThumb);
  ShowArea(players_, QRect(at, QSize(w, kSliderH)));
}

QPoint Personal::SliderThumb(int slider) const {
  const int value = slider == 0 ? state_.GameSpeed : state_.SeatLevel[slider];
  return SliderAt(slider) + QPoint(kTrackX + std::clamp(value, 0, 100), kThumbY);
}

int Personal::ThumbUnder(QPoint at) const {
  if (rulesShown_) return -1;
  for (int slider = 0; slider <= kSeats; ++slider) {
    const QPoint t = SliderThumb(slider);
    if (at.x() >= t.x() && at.x() <= t.x() + art::kSliderThumb.w && at.y() >= t.y() &&
        at.y() <= t.y() + art::kSliderThumb.h) {
      return slider;
    }
  }
  return -1;
}

void Personal::MoveThumb(int x) {
  const int slider = dragSlider_;
  i16& value = slider == 0 ? state_.GameSpeed : state_.SeatLevel[slider];
  const int next = DragSliderValue(value, x - lastX_);
  lastX_ = x;
  if (next == value) return;
  // The track comes back under the old thumb, then the thumb goes on at its new place.
  const QPoint old = SliderThumb(slider);
  const art::Cell& track = art::kSliderTrack;
  Blit(players_, old.x(), old.y(), art::kSliderThumb.w, art::kSliderThumb.h, Sheet(),
       track.x + std::clamp<int>(value, 0, 100), track.y, RasterOp::Copy);
  value = static_cast<i16>(next);
  const QPoint now = SliderThumb(slider);
  Copy(players_, now.x(), now.y(), art::kSliderThumb);
  ShowArea(players_,
           QRect(old, now + QPoint(art::kSliderThumb.w, art::kSliderThumb.h)).normalized());
}

}  // namespace tarvelis
