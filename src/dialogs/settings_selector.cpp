// The settings window's selectors: drawn, animated and clicked.
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

void Personal::DrawSelector(int index, bool pressed, bool blankValue) {
  const Place* place = PlaceOf(index);
  if (place == nullptr) return;
  QImage& page = PageOf(index);
  const QPoint o = PageOrigin(place->rules);
  const int x = o.x() + place->x, y = o.y() + place->y, w = place->w;
  QPainter(&page).fillRect(x, y, w, kSelectorH, kGrey);
  Etched(page, QRect(x, y + 5, w, kSelectorH - 5));
  Etched(page, QRect(x + 35, y + 13, w - 37 - 1, 22));
  Copy(page, x + 4, y + 14, pressed ? art::kSelectorButtonPressed : art::kSelectorButton);
  EtchedTitle(page, x, y, w, Utf(SelectorTitle(index)));
  if (!blankValue) {
    const QString value = Utf(TrimmedLabel(LabelOf(labels_, index, SelectorValue(state_, index))));
    const int px = FittingSize(value, w - 43, kValuePx, true);
    DrawText(page, x + 40, y + 17 + (kValuePx - px) / 2, value, px, true, Qt::black);
  }
  ShowArea(page, QRect(x, y, w, kSelectorH));
}

// The advance of a click: the button goes down and the value clears, a moment
// passes, the button comes up with the new value.
void Personal::AnimateSelector(int index) {
  TocaSonido(state_, Sound::kSwitchStarts);
  DrawSelector(index, true, true);
  repaint();
  Espera(state_, 60);
  DrawSelector(index);
  repaint();
  TocaSonido(state_, Sound::kSwitchEnds);
}

QRect Personal::SelectorButtonRect(int index) const {
  const Place* p = PlaceOf(index);
  if (p == nullptr) return {};
  // Bounds 4..33 and 14..34 count, both ends included.
  return QRect(PageOrigin(p->rules) + QPoint(p->x + 4, p->y + 14), QSize(30, 21));
}

void Personal::PressOnSelector(QPoint at) {
  for (const Place& p : ThePlaces()) {
    if (p.rules != rulesShown_ || !SelectorButtonRect(p.index).contains(at)) continue;
    Events events(*this);
    ClickSelector(state_, labels_, p.index, events);
    return;
  }
}

}  // namespace tarvelis
