#include "layout/button_bar.h"

#include "layout/artwork_layout.h"
#include "model/texts.h"

namespace tarvelis {

ButtonPlace PlaceOfButton(int n, const TableGeometry& g) {
  if (n < 1 || n > kBarButtons) return {0, 0, 0, 0};
  const int w = g.ScreenWidthPx;
  const bool low = g.LowResolution;
  // On a narrow table the bar closes up so the buttons never meet.
  const int left[7] = {0, 5, 5, low ? 69 : 85, low ? w - 119 : w - 135, w - 54, w - 40};
  const int top[7] = {0, low ? 61 : 80, 4, 4, 4, 4, low ? 61 : 80};
  const art::Cell& cell = art::kButtonImage[n];
  return {left[n], top[n], cell.w, cell.h};
}

ButtonCell CellOfButton(int n) {
  if (n < 1 || n > kBarButtons) return {0, 0, 0, 0};
  return {art::kButtonImage[n].x, art::kButtonImage[n].y, art::kButtonMask[n].x,
          art::kButtonMask[n].y};
}

const char* ButtonHint(int n) {
  return n >= 1 && n <= kBarButtons ? kButtonHints[n] : "";
}

int ButtonAt(const TableGeometry& g, int x, int y) {
  for (int n = 1; n <= kBarButtons; ++n) {
    const ButtonPlace p = PlaceOfButton(n, g);
    if (x >= p.x && x < p.x + p.w && y >= p.y && y < p.y + p.h) return n;
  }
  return 0;
}

bool ButtonEnabled(const GameState& s, const TableModes& modes, int n) {
  const bool recorderFree = !s.RecorderOn && !s.RecorderBusy;
  switch (n) {
    case kNewMatchButton:
      return recorderFree;
    case kSettingsButton:
      // The rules of a server's table are the server's.
      return recorderFree && !modes.Networked;
    case kTutorButton: {
      const int seat = s.CurrentSeat;
      return recorderFree && !modes.Networked && s.MatchInProgress && s.HandInProgress &&
             s.NoticeShown && s.MoveNumber >= 1 && seat >= 1 && seat <= kSeats &&
             s.SeatControl[seat] == kManual && !modes.Busy();
    }
    default:
      return n >= 1 && n <= kBarButtons;
  }
}

}  // namespace tarvelis
