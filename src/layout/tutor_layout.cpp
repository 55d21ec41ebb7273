#include "layout/tutor_layout.h"

#include "layout/artwork_layout.h"

namespace tarvelis {

TutorMarks PlaceTutorMarks(const GameState& s, int seat, int slot, int arrowEnd) {
  TutorMarks m;
  if (seat < 1 || seat > kSeats || slot < 1 || slot > kSlots) return m;
  m.Seat = seat;
  const Point at = TutorMarkerPoint(s.Table, seat, slot);
  m.Marker = Rect{at.x, at.y, art::kTutorMarker[seat].w, art::kTutorMarker[seat].h};
  if (arrowEnd == 1 || arrowEnd == 2) {
    const art::Cell& cell = arrowEnd == 1 ? art::kArrowRight : art::kArrowLeft;
    const Point p = EndArrowPointOf(s, arrowEnd);
    m.ArrowEnd = arrowEnd;
    m.Arrow = Rect{p.x, p.y, cell.w, cell.h};
  }
  return m;
}

}  // namespace tarvelis
