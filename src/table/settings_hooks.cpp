#include "table/settings_hooks.h"

#include "dialogs/message_dialog.h"
#include "dialogs/settings_window.h"
#include "layout/option_rules.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "platform/cursors.h"
#include "platform/raster.h"
#include "platform/waits.h"
#include "storage/settings_file.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

// The table is cleared to this before a picture of the user's is laid on it.
const QColor kClearedTable(0x1E, 0x4A, 0x2C);

// While the user deals by hand every tile lies face up in the dealing area,
// whatever the options say: the hands are left as they are.
bool HandsFollowOptions(const GameState& s, const Mesa& mesa) {
  return s.MatchInProgress && !mesa.Modes().AllTilesFaceUp;
}

void LayBackground(Mesa& mesa, const QImage& picture, BackgroundLayout layout, int w, int h) {
  QImage table(w, h, QImage::Format_ARGB32);
  table.fill(kClearedTable);
  const QImage pic = picture.convertToFormat(QImage::Format_ARGB32);
  for (const Point p : BackgroundPlaces(layout, w, h, pic.width(), pic.height())) {
    Blit(table, p.x, p.y, pic.width(), pic.height(), pic, 0, 0, RasterOp::Copy);
  }
  mesa.ReplaceBackground(table);
}

// A state saved with the manual deal half done could not be resumed: it is
// saved as the program leaves it in that case, without the match.
GameState StateToSave(const GameState& s, const Mesa& mesa) {
  GameState copy = s;
  if (mesa.Modes().AllTilesFaceUp) {
    copy.MatchInProgress = false;
    copy.HandInProgress = false;
  }
  return copy;
}

}  // namespace

void BringTableUpToDate(GameState& state, Mesa& mesa) {
  TablePainter& painter = mesa.Painter();
  if (HandsFollowOptions(state, mesa)) painter.DrawHands();
  // A renamed seat shows its new name at once, with or without a match.
  if (!mesa.Modes().AllTilesFaceUp) painter.DrawSeatNames();
  if (HandsFollowOptions(state, mesa)) {
    // The continue button carries the name of the seat to move, which may
    // have just changed.
    if (state.HandInProgress && state.NoticeShown && state.CurrentSeat >= 1 &&
        state.CurrentSeat <= kSeats) {
      mesa.ShowNotice(QString::fromStdString(
          FinalSeatName(state.SeatName[state.CurrentSeat], state.CurrentSeat)));
    }
  }
  painter.DrawButtonsAndScore();
  mesa.Show();
  mesa.RefreshPointer();
}

bool OpenSettingsWindow(GameState& state, Mesa& mesa, const std::filesystem::path& dataFolder) {
  const bool hadMatch = state.MatchInProgress;
  // The table's own pointer comes back when the window has gone.
  const QCursor tablePointer = mesa.cursor();
  mesa.setCursor(BusyCursor());
  TocaSonido(state, Sound::kButton);
  SettingsHooks hooks;
  hooks.SeatTilesChanged = [&](int seat) {
    if (!HandsFollowOptions(state, mesa)) return;
    mesa.Painter().DrawHand(seat);
    mesa.Painter().DrawSeatNames();
    mesa.Show();
  };
  hooks.AllTilesChanged = [&] {
    if (!HandsFollowOptions(state, mesa)) return;
    mesa.Painter().DrawHands();
    mesa.Show();
  };
  hooks.ScoreboardChanged = [&] {
    mesa.Painter().DrawButtonsAndScore();
    mesa.Show();
  };
  hooks.BackgroundChosen = [&](const QImage& picture, BackgroundLayout layout) {
    LayBackground(mesa, picture, layout, state.Table.ScreenWidthPx, state.Table.ScreenHeightPx);
  };
  hooks.TableBusy = [&](bool busy) { mesa.setCursor(busy ? BusyCursor() : tablePointer); };
  Personal window(state, std::move(hooks), dataFolder, &mesa);
  mesa.setCursor(tablePointer);
  window.exec();
  BringTableUpToDate(state, mesa);
  if (!SaveSettings(StateToSave(state, mesa), dataFolder)) {
    ShowMessage(state, QString::fromUtf8(kSaveErrorTitle),
                QString::fromStdString(
                    SettingsNotSavedMessage((dataFolder / kSettingsFileName).string(), false)),
                kPictureError, kNotice, &mesa);
  }
  return hadMatch && !state.MatchInProgress;
}

}  // namespace tarvelis
