// The settings window's places and drawing helpers.
#include "dialogs/settings_parts.h"

#include <QPainter>
#include <algorithm>

#include "platform/raster.h"
#include "platform/text.h"

namespace tarvelis::personal {

QPoint SeatAt(int seat) {
  return kSeatOrigin[seat];
}

std::vector<Place> Places() {
  std::vector<Place> places = {{kSelDirection, false, 22, 12, kGlobalW},
                               {kSelPause, false, 22, 56, kGlobalW},
                               {kSelPlayedTiles, false, 22, 100, kGlobalW},
                               {kSelMoveList, false, 438, 12, kGlobalW},
                               {kSelSound, false, 438, 56, kGlobalW},
                               // The rules page, group by group.
                               {kSelMode, true, 100, 47, kGlobalW},
                               {kSelDealing, true, 100, 138, kGlobalW},
                               {kSelFiveDoubles, true, 100, 182, kGlobalW},
                               {kSelFirstLead, true, 360, 47, kGlobalW},
                               {kSelNextLead, true, 360, 91, kGlobalW},
                               {kSelScoring, true, 100, 284, kGlobalW},
                               {kSelCountedPips, true, 100, 328, kGlobalW},
                               {kSelScoringPair, true, 100, 372, kGlobalW},
                               {kSelTieWinner, true, 360, 193, kGlobalW},
                               {kSelTieLead, true, 360, 237, kGlobalW}};
  for (int seat = 1; seat <= kSeats; ++seat) {
    const QPoint o = SeatAt(seat);
    places.push_back({kSelTilesShown + seat, false, o.x() - 6, o.y() + 70, kSeatW});
    places.push_back({kSelControl + seat, false, o.x() - 6, o.y() + 112, kSeatW});
  }
  return places;
}

const std::vector<Place>& ThePlaces() {
  static const std::vector<Place> places = Places();
  return places;
}

const Place* PlaceOf(int index) {
  for (const Place& p : ThePlaces()) {
    if (p.index == index) return &p;
  }
  return nullptr;
}

QPoint SliderAt(int slider) {
  if (slider == 0) return {438, 100};
  const QPoint o = SeatAt(slider);
  return {o.x() - 6, o.y() + 26};
}

int SliderW(int slider) {
  return slider == 0 ? kGlobalW : kSeatW;
}

const QImage& Marble() {
  static const QImage marble = LoadStrip(QString::fromLatin1(art::kMarmolPath));
  return marble;
}

const QImage& Sheet() {
  static const QImage sheet = LoadSharpStrip(QString::fromLatin1(art::kPersonalPath));
  return sheet;
}

void Copy(QImage& page, int x, int y, const art::Cell& c) {
  Blit(page, x, y, c.w, c.h, Sheet(), c.x, c.y, RasterOp::Copy);
}

int FittingSize(const QString& text, int width, int preferred, bool bold) {
  int px = preferred;
  while (px > 8 && TextWidth(text, px, bold) > width) --px;
  return px;
}

void Etched(QImage& page, const QRect& r) {
  QPainter p(&page);
  p.setPen(kEtch);
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(Qt::white);
  p.drawRect(r.adjusted(1, 1, 0, 0));
}

void EtchedTitle(QImage& page, int x, int y, int w, const QString& title) {
  const int px = FittingSize(title, w - 4, kTitlePx, false);
  const int tw = TextWidth(title, px, false);
  const int tx = x + (w - tw) / 2;
  QPainter(&page).fillRect(tx, std::max(y - 2, 0), tw, TextHeight(px, false) - 2, kGrey);
  DrawText(page, tx, y - 2, title, px, false, Qt::white);
  DrawText(page, tx + 1, y - 1, title, px, false, kTitleBlue);
}

QString Utf(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace tarvelis::personal
