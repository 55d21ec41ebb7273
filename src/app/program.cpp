// The table's buttons and the program's end: a new match, the hand resumed,
// the help, settings, tutor and score windows, the saved games, the saves as
// play goes and on leaving.
#include "app/program.h"

#include <QApplication>
#include <QDateTime>

#include "app/network_match.h"
#include "dialogs/help_window.h"
#include "dialogs/history_viewer.h"
#include "dialogs/message_dialog.h"
#include "dialogs/saved_games_dialog.h"
#include "dialogs/score_report_dialog.h"
#include "engine/loaded_game.h"
#include "engine/totaliser.h"
#include "engine/turn_loop.h"
#include "layout/button_bar.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "platform/cursors.h"
#include "platform/waits.h"
#include "storage/history_file.h"
#include "storage/settings_file.h"
#include "table/qt_table_port.h"
#include "table/recorder_panel.h"
#include "table/settings_hooks.h"
#include "table/table_window.h"
#include "table/tutor_marker.h"

namespace tarvelis {
namespace {

QString Utf(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

void Program::Tell(const QString& title, const QString& text, int picture) {
  ShowMessage(state_, title, text, picture, kNotice, mesa_);
}

bool Program::Ask(const QString& title, const QString& text) {
  return ShowMessage(state_, title, text, kPictureQuestion, kQuestion, mesa_);
}

void Program::ResumeHand() {
  mesa_->Painter().DrawAll();
  mesa_->Show();
  // The list picks up the moves of the resumed hand, the last one selected.
  port_->RecorderSelect(state_.MoveNumber - 2);
  Tell(Utf(kResumeTitle), Utf(kResumeMessage), kPictureInformation);
  RunMatch(*engine_, LoopEntry::kResumeHand);
  // A match that ended is saved as over at once.
  if (!engine_->Control.ExitRequested) SaveAsPlayGoes();
  mesa_->setCursor(CursorOfKind(1));
}

void Program::StartMatch() {
  TocaSonido(state_, Sound::kButton);
  if (net_ != nullptr) {
    AskLeaveNetworkMatch();
    return;
  }
  // A local match started now would run inside the wait for the table.
  if (joining_) return;
  if (!ConfirmAbandon()) return;
  mesa_->setCursor(BusyCursor());
  state_.NoticeShown = false;
  // Runs the match here, or, when a loop is already waiting further down,
  // tells it to unwind and carry on with the new match.
  RunMatch(*engine_, LoopEntry::kNewMatch);
  if (!engine_->Control.ExitRequested) SaveAsPlayGoes();
  mesa_->setCursor(CursorOfKind(1));
}

void Program::KeepInHistory() {
  const QDateTime now = QDateTime::currentDateTime();
  const DateTime when{now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                      now.time().minute()};
  if (!KeepMatchInHistory(state_, dataFolder_, when)) {
    Tell(Utf(kHistoryTitle), Utf(HistoryNotSavedMessage((dataFolder_ / kHistoryFileName).string())),
         kPictureError);
  }
}

void Program::SacaDatosTeclaMas() {
  // At a server's table the other hands are only stand-ins.
  if (!state_.MatchInProgress || mesa_->Modes().AllTilesFaceUp || net_ != nullptr) return;
  Tell(Utf(kTotaliserTitle), QString::fromStdString(TotaliserText(state_)), kPictureInformation);
}

bool Program::ConfirmPostpone() {
  if (!state_.MatchInProgress) return true;
  return Ask(Utf(kPostponeTitle), Utf(kPostponeQuestion));
}

bool Program::ConfirmAbandon() {
  if (!state_.MatchInProgress) return true;
  return Ask(Utf(kAbandonTitle), Utf(kAbandonQuestion));
}

void Program::ExitProgram() {
  TocaSonido(state_, Sound::kButton);
  // The exit button leaves the networked match first, back to the local one.
  if (net_ != nullptr) {
    AskLeaveNetworkMatch();
    return;
  }
  if (mesa_->Modes().ChoosingLeader) {
    Tell(Utf(kProgramTitle), Utf(kLeaderFirstMessage), kPictureWarning);
    return;
  }
  if (state_.RecorderOn) {
    Tell(Utf(kProgramTitle), Utf(kRecorderFirstMessage), kPictureWarning);
    return;
  }
  if (!ConfirmPostpone()) return;
  // A hand being dealt by hand cannot be resumed: the match is dropped.
  if (mesa_->Modes().AllTilesFaceUp) {
    state_.MatchInProgress = false;
    state_.HandInProgress = false;
  }
  if (!mesa_->isFullScreen()) KeepWindowLook();
  if (!SaveSettings(state_, dataFolder_)) {
    Tell(Utf(kSaveErrorTitle), Utf(SaveFailedMessage(state_, dataFolder_)), kPictureError);
  }
  leaving_ = true;
  // Every loop waiting below this handler unwinds before the program ends;
  // the event loop is left directly, since closing the table would only ask
  // again.
  engine_->Control.ExitRequested = true;
  mesa_->AllowClose();
  QCoreApplication::exit(0);
}

void Program::SaveAsPlayGoes() {
  // The file keeps the local match; the networked mirror is never saved.
  if (localAside_) return;
  [[maybe_unused]] const bool saved = SaveSettings(state_, dataFolder_);
}

bool Program::SaveIfAtRest() {
  if (!mesa_ || !engine_) return false;
  if (localAside_) return SaveSettings(*localAside_, dataFolder_);
  // In the middle of a move or of a hand's end the state is half changed;
  // with the recorder on it shows an earlier move. The last save stands.
  const bool atRest = !engine_->Control.Running || port_->WaitsForUser();
  if (!atRest || state_.RecorderOn || mesa_->Modes().ChoosingLeader) return false;
  if (mesa_->Modes().AllTilesFaceUp) {
    // A hand being dealt by hand cannot be resumed, as at the exit button.
    GameState dropped = state_;
    dropped.MatchInProgress = false;
    dropped.HandInProgress = false;
    return SaveSettings(dropped, dataFolder_);
  }
  return SaveSettings(state_, dataFolder_);
}

void Program::LeaveNow() {
  if (leaving_ || !mesa_) return;
  leaving_ = true;
  SaveIfAtRest();
  if (net_ != nullptr) net_->Close();
  engine_->Control.ExitRequested = true;
  mesa_->AllowClose();
  QCoreApplication::exit(0);
}

void Program::OnSavedGames(int entry) {
  const SavedGamesMode mode = entry == kSaveGame   ? SavedGamesMode::kSave
                              : entry == kLoadGame ? SavedGamesMode::kLoad
                                                   : SavedGamesMode::kDelete;
  if (!OpenSavedGames(state_, mode, dataFolder_, mesa_)) return;
  // Play restarts from the loaded position in the one turn loop.
  ResumeLoadedGame(*engine_);
  mesa_->setCursor(CursorOfKind(1));
}

void Program::OnButton(int n) {
  if (!ButtonEnabled(state_, mesa_->Modes(), n)) return;
  switch (n) {
    case kHelpButton:
      OnHelpButton();
      break;
    case kNewMatchButton:
      StartMatch();
      break;
    case kSettingsButton:
      OnSettingsButton();
      break;
    case kTutorButton:
      OnTutorButton();
      break;
    case kExitButton:
      ExitProgram();
      break;
    case kScoreButton:
      OnScoreButton();
      break;
    default:
      break;
  }
}

void Program::OnHelpButton() {
  TocaSonido(state_, Sound::kButton);
  ShowHelp(mesa_);
}

void Program::OnSettingsButton() {
  if (OpenSettingsWindow(state_, *mesa_, dataFolder_)) {
    // The match was left for a change of its rules: the new one starts at once.
    StartMatch();
    return;
  }
  // The move list follows its rule at once; the recorder panel knows where.
  if (recorder_) recorder_->Refresh();
}

void Program::OnTutorButton() {
  TocaSonido(state_, Sound::kButton);
  ShowTutor(state_, *mesa_);
}

void Program::OnScoreButton() {
  TocaSonido(state_, Sound::kButton);
  ShowScoreReport(state_, mesa_,
                  [this] { OpenHistoryViewer(state_, dataFolder_, QApplication::activeWindow()); });
  mesa_->RefreshPointer();
}

}  // namespace tarvelis
