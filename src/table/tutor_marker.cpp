#include "table/tutor_marker.h"

#include "layout/artwork_layout.h"
#include "platform/raster.h"
#include "platform/waits.h"
#include "player/computer_player.h"
#include "table/strips.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

constexpr int kBlinks = 3;
constexpr int kBeforeFirst = 60;
constexpr int kShownFor = 90;

// At the table picture's scale, so a mark is as sharp as the tile it points at.
QImage Piece(const art::Cell& image, const art::Cell& mask, double scale) {
  return ShapedPicture(TheStrips().Piezas, image.x, image.y, image.w, image.h, mask.x, mask.y,
                       scale);
}

// End-to-end tests learn where the marker went through the status file that
// the table's waits write.
void Report(const TutorMarks& m, int slot) {
  ReportTestStatus(QStringLiteral("tutor seat %1 slot %2 marker %3 %4 arrow %5")
                       .arg(m.Seat)
                       .arg(slot)
                       .arg(m.Marker.x)
                       .arg(m.Marker.y)
                       .arg(m.ArrowEnd));
}

}  // namespace

TutorMarks ShowTutor(GameState& s, Mesa& mesa, const std::function<void()>& whileShown) {
  const int seat = s.CurrentSeat;
  if (seat < 1 || seat > kSeats) return {};
  const Suggestion hint = Suggest(s);
  if (hint.Pass || hint.Slot == 0) {
    ReportTestStatus(QStringLiteral("tutor seat %1 none").arg(seat));
    return {};
  }
  const TutorMarks marks = PlaceTutorMarks(s, seat, hint.Slot, hint.ShowsArrow ? hint.End : 0);

  const double scale = mesa.PictureScale();
  std::vector<std::pair<QPoint, QImage>> shown;
  shown.emplace_back(QPoint(marks.Marker.x, marks.Marker.y),
                     Piece(art::kTutorMarker[seat], art::kTutorMarkerMask[seat], scale));
  if (marks.ArrowEnd == 1) {
    shown.emplace_back(QPoint(marks.Arrow.x, marks.Arrow.y),
                       Piece(art::kArrowRight, art::kArrowRightMask, scale));
  } else if (marks.ArrowEnd == 2) {
    shown.emplace_back(QPoint(marks.Arrow.x, marks.Arrow.y),
                       Piece(art::kArrowLeft, art::kArrowLeftMask, scale));
  }
  Espera(s, kBeforeFirst);
  for (int blink = 0; blink < kBlinks; ++blink) {
    TocaSonido(s, Sound::kTutorBlink);
    mesa.ShowOverlays(shown);
    if (whileShown) whileShown();
    Espera(s, kShownFor);
    mesa.HideOverlays();
  }
  Report(marks, hint.Slot);
  return marks;
}

}  // namespace tarvelis
