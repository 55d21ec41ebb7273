#include "app/program.h"

#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QLocalServer>
#include <QLocalSocket>
#include <QScreen>
#include <QTimer>
#include <cstdint>
#include <optional>

#include "app/exit_signals.h"
#include "app/network_match.h"
#include "dialogs/cover.h"
#include "dialogs/help_window.h"
#include "dialogs/history_viewer.h"
#include "dialogs/message_dialog.h"
#include "dialogs/network_window.h"
#include "dialogs/saved_games_dialog.h"
#include "dialogs/score_report_dialog.h"
#include "engine/hand_end.h"
#include "engine/hand_messages.h"
#include "engine/loaded_game.h"
#include "engine/totaliser.h"
#include "engine/turn_loop.h"
#include "layout/button_bar.h"
#include "layout/options_menu_rules.h"
#include "layout/table_view.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "net/joined_table.h"
#include "net/server_address.h"
#include "platform/cursors.h"
#include "platform/folders.h"
#include "platform/net_link.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "platform/waits.h"
#include "protocol/protocol.h"
#include "storage/data_folder.h"
#include "storage/history_file.h"
#include "storage/server_choice.h"
#include "storage/settings_file.h"
#include "storage/window_file.h"
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

// End-to-end tests fix the deals with TARVELIS_TEST_SEED: one seeded stream
// for the whole run instead of a clock seed at every deal, so a script knows
// the tiles it will be dealt. Unset or not a number, play seeds from the clock.
std::optional<std::uint32_t> TestSeed() {
  bool ok = false;
  const uint seed = qEnvironmentVariable("TARVELIS_TEST_SEED").toUInt(&ok);
  if (!ok) return std::nullopt;
  return seed;
}

// Saves after every move, as the file would be saved while the next move is
// awaited, so that a kill or a lost display costs at most the move in play.
class MoveSaver : public EngineHooks {
 public:
  explicit MoveSaver(Program& program) : program_(program) {}
  void MoveMade(GameState& s) override {
    AdvanceTurn(s);
    program_.SaveAsPlayGoes();
    TurnBack(s);
  }

 private:
  Program& program_;
};

// The local socket the copy holding a data folder listens on, so that a
// second start can bring it to the front: one per user and folder.
QString FrontSocketName(const std::filesystem::path& folder) {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(folder.string()), QCryptographicHash::Sha1)
          .toHex()
          .left(16);
  return QStringLiteral("tarvelis-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

}  // namespace

Program::Program(GameState& state) : state_(state), random_(TestSeed().value_or(ClockSeed())) {}

Program::~Program() {
  signals_.reset();
  recorder_.reset();
  engine_.reset();
  port_.reset();
  delete mesa_;
}

void Program::Tell(const QString& title, const QString& text, int picture) {
  ShowMessage(state_, title, text, picture, kNotice, mesa_);
}

bool Program::Ask(const QString& title, const QString& text) {
  return ShowMessage(state_, title, text, kPictureQuestion, kQuestion, mesa_);
}

bool Program::StartProgram() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return false;

  // The data folder. An installed game never keeps its files beside the
  // binary, even when the user could write there (root, say): each user gets
  // their own data folder.
  const std::filesystem::path fallback = DefaultFallbackFolder();
  const DataFolderChoice where =
      ChooseDataFolder(RunsFromInstallFolder() ? fallback : ProgramFolder(), fallback);
  dataFolder_ = where.Folder;
  // The table is measured first: a resumed chain is checked against, and
  // laid for, the table it is shown on. It is laid out for a classic size and
  // blown up to the screen (or kept one pixel per pixel when the user asked
  // for the classic look). The layout stays the same while the program runs,
  // whatever the window does.
  const QRect area = screen->geometry();
  look_ = ReadWindowLook(dataFolder_);
  classicNow_ = look_.Classic;
  const TableSize table = LogicalTableFor(area.width(), area.height(),
                                          look_.Classic ? TableLook::kClassic : TableLook::kScaled);
  // The windows shown before the table (a second copy's warning, the cover,
  // a message about the files) are blown up by the factor it will have.
  const QSize shownIn = look_.FullScreen ? area.size() : WindowSize(screen->availableGeometry());
  SetWindowScale(
      FitTable(table, shownIn.width(), shownIn.height(), classicNow_ && look_.FullScreen).Factor);

  // One copy per data folder: two would each write their own match over the
  // other's and both could finish, and record, the same match.
  lock_ = std::make_unique<DataFolderLock>(dataFolder_);
  if (lock_->state() == DataFolderLock::State::kHeldByAnother) {
    // The copy that runs comes to the front, where the desktop lets it.
    QLocalSocket knock;
    knock.connectToServer(FrontSocketName(dataFolder_));
    knock.waitForConnected(1000);
    ShowMessage(state_, Utf(kSecondCopyTitle), Utf(SecondCopyMessage(dataFolder_.string())),
                kPictureWarning, kNotice, nullptr);
    return false;
  }
  // Only the copy holding the folder may clear what a killed write left.
  if (lock_->state() == DataFolderLock::State::kHeld && where.CanSave) {
    RemoveStaleTemporaries(dataFolder_);
  }

  // The cover, until it has run or the user presses a key or clicks.
  ShowCover();

  // The settings. The speed of the machine is not measured: every wait and
  // animation step of this program is timed on the clock, so it runs alike on
  // any machine.
  state_.Table = ComputeTableGeometry(table.w, table.h);
  state_.MatchInProgress = false;
  const LoadReport report = LoadSettings(state_, where);
  if (!report.Message.empty()) {
    Tell(QString::fromStdString(report.Title), QString::fromStdString(report.Message),
         kPictureError);
  }
  // The totals are not kept in the file: the log gives them back, so the
  // scoreboard shows the match's score from the first picture of the table.
  RecomputeTotals(state_);

  // The table, full screen on the primary screen, in device-independent
  // pixels so that a high-density screen scales it as a whole.
  state_.Partner = {0, 3, 4, 1, 2};
  SyncDirectionStep(state_);
  mesa_ = new Mesa(state_);
  mesa_->onButton = [this](int n) { OnButton(n); };
  mesa_->onTotaliser = [this] { SacaDatosTeclaMas(); };
  mesa_->onSavedGames = [this](int entry) { OnSavedGames(entry); };
  mesa_->onNetworkPlay = [this] { OnNetworkPlay(); };
  mesa_->onClose = [this] {
    // Closing the window means the whole program: a networked match is left
    // first (after asking), then the local one is put off as usual.
    if (net_ == nullptr) {
      OnButton(kExitButton);
    } else if (AskLeaveNetworkMatch()) {
      exitAfterNet_ = true;
    }
  };
  mesa_->onLookChanged = [this] { KeepWindowLook(); };
  mesa_->onClassicToggled = [this] { ToggleClassicLook(); };
  mesa_->classicChosen = [this] { return look_.Classic; };
  mesa_->SetUnscaled(classicNow_ && look_.FullScreen);
  mesa_->LayOut();
  port_ = std::make_unique<QtTablePort>(state_, *mesa_);
  engine_ = std::make_unique<EngineContext>(state_, *port_, random_);
  engine_->SeedFromClock = !TestSeed().has_value();
  port_->SetContext(engine_.get());
  port_->onAppendHistory = [this] { KeepInHistory(); };
  port_->onNotice = [this] { SaveAsPlayGoes(); };
  saver_ = std::make_unique<MoveSaver>(*this);
  engine_->Hooks = saver_.get();
  // A logout, a shutdown or a kill through the usual signals saves and ends
  // as the exit button does, without its questions.
  signals_ = std::make_unique<ExitSignals>([this](int) { LeaveNow(); });
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, mesa_, [this] { SaveIfAtRest(); });
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, mesa_, [this] {
    if (!leaving_) SaveIfAtRest();
  });
  if (lock_->state() == DataFolderLock::State::kHeld) ListenForSecondCopies();
  recorder_ = std::make_unique<RecorderPanel>(state_, *mesa_, *port_);
  mesa_->setMinimumSize(kSmallestWindowW, kSmallestWindowH);
  if (look_.FullScreen) {
    mesa_->setGeometry(area);
    mesa_->showFullScreen();
  } else {
    PlaceWindow();
    mesa_->showNormal();
  }
  mesa_->activateWindow();
  QCoreApplication::processEvents();

  // Warnings about the screen.
  if (state_.Table.LowResolution) {
    Tell(Utf(kResolutionTitle),
         Utf(ResolutionMessage(std::max(area.width(), 1), std::max(area.height(), 1))),
         kPictureInformation);
  }
  if (TableFontWouldDrawWrong()) {
    Tell(Utf(kLetterSizeTitle), Utf(kLetterSizeMessage), kPictureWarning);
  }

  // A match left unfinished, in a hand or between two, goes on once
  // the program runs its events.
  if (!joinArgs_.isEmpty()) {
    // The networked match first; the local one comes back after it.
    QTimer::singleShot(0, mesa_, [this] { JoinFromCommandLine(); });
  } else if (state_.MatchInProgress) {
    QTimer::singleShot(0, mesa_, [this] { ResumeHand(); });
  } else {
    mesa_->setCursor(CursorOfKind(1));
  }
  return true;
}

void Program::ListenForSecondCopies() {
  const QString name = FrontSocketName(dataFolder_);
  // A socket left by a copy that died: the lock says none lives.
  QLocalServer::removeServer(name);
  auto* server = new QLocalServer(mesa_);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(name)) return;
  QObject::connect(server, &QLocalServer::newConnection, mesa_, [this, server] {
    while (QLocalSocket* knock = server->nextPendingConnection()) knock->deleteLater();
    if (look_.FullScreen) {
      mesa_->showFullScreen();
    } else {
      mesa_->showNormal();
    }
    mesa_->raise();
    mesa_->activateWindow();
  });
}

QSize Program::WindowSize(const QRect& screen) const {
  // The window as it was left, kept on the screen; three quarters of the
  // screen the first time.
  QSize size(look_.Width, look_.Height);
  if (size.isEmpty()) size = screen.size() * 3 / 4;
  return size.boundedTo(screen.size());
}

void Program::PlaceWindow() {
  const QRect screen = mesa_->screen()->availableGeometry();
  const QSize size = WindowSize(screen);
  mesa_->resize(size);
  mesa_->move(screen.center() - QPoint(size.width() / 2, size.height() / 2));
}

void Program::KeepWindowLook() {
  look_.FullScreen = mesa_->isFullScreen();
  if (!look_.FullScreen) {
    // Out of the full screen, a window as large as the screen would not look
    // like one: it takes its own size again.
    const QSize screen = mesa_->screen()->availableGeometry().size();
    if (mesa_->width() >= screen.width() && mesa_->height() >= screen.height()) PlaceWindow();
    look_.Width = mesa_->width();
    look_.Height = mesa_->height();
  }
  // The classic look is one pixel per pixel on the full screen; a window
  // always shows the whole table.
  mesa_->SetUnscaled(classicNow_ && look_.FullScreen);
  WriteWindowLook(dataFolder_, look_);
}

void Program::ToggleClassicLook() {
  look_.Classic = !look_.Classic;
  WriteWindowLook(dataFolder_, look_);
  // The table's layout follows the screen only when the program starts: a
  // hand on the table keeps its places.
  Tell(QString::fromUtf8(kClassicLookTitle),
       QString::fromUtf8(look_.Classic ? kClassicLookOn : kClassicLookOff), kPictureInformation);
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

void Program::OnNetworkPlay() {
  TocaSonido(state_, Sound::kButton);
  auto link = std::make_unique<NetLink>();
  const std::optional<net::JoinedTable> joined =
      OpenNetworkWindow(state_, *link, dataFolder_, mesa_);
  mesa_->RefreshPointer();
  if (joined) PlayNetworkMatch(*joined, std::move(link));
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

bool Program::AskLeaveNetworkMatch() {
  if (net_ == nullptr || !Ask(Utf(kNetMatchTitle), Utf(kNetLeaveQuestion))) return false;
  net_->Leave();
  return true;
}

void Program::JoinFromCommandLine() {
  const QStringList args = std::exchange(joinArgs_, {});
  const auto address =
      args.size() >= 3 ? net::ParseServerAddress(args[0].toStdString()) : std::nullopt;
  bool seatOk = false;
  const int seat = args.size() >= 3 ? args[2].toInt(&seatOk) : 0;
  const std::string code = args.size() >= 2 ? args[1].toUpper().toStdString() : std::string();
  const auto resumeLocal = [this] {
    if (state_.MatchInProgress) ResumeHand();
  };
  if (!address || !seatOk || seat < 1 || seat > kSeats || code.size() != server::kCodeLength) {
    Tell(Utf(kNetMatchTitle), Utf(NetJoinUsage()), kPictureError);
    resumeLocal();
    return;
  }
  const std::string name =
      args.size() >= 4 ? args[3].toStdString() : Trimmed(state_.SeatName[net::kOwnLocalSeat]);
  auto link = std::make_unique<NetLink>();
  net::JoinedTable joined;
  std::string why;
  mesa_->setCursor(BusyCursor());
  joining_ = true;
  const bool seated =
      JoinTable(*link, *address, code, seat, name, joined, why, [this] { return leaving_; });
  joining_ = false;
  mesa_->setCursor(CursorOfKind(1));
  if (leaving_) return;
  if (!seated) {
    Tell(Utf(kNetMatchTitle), Utf(why), kPictureError);
    resumeLocal();
    return;
  }
  PlayNetworkMatch(joined, std::move(link));
}

void Program::PlayNetworkMatch(const net::JoinedTable& joined, std::unique_ptr<NetLink> link) {
  if (net_ != nullptr || !link) return;
  if (state_.RecorderOn) {
    Tell(Utf(kProgramTitle), Utf(kRecorderFirstMessage), kPictureWarning);
    return;
  }
  // The local match is kept aside exactly as it is; the mirror starts from
  // its settings, so the table looks and sounds as the player set it.
  localAside_ = std::make_unique<GameState>(state_);
  const bool localLoopWaits = engine_->Control.Running;
  state_.MatchInProgress = false;
  state_.HandInProgress = false;
  state_.NoticeShown = false;
  state_.LiveMoveNumber = 0;
  mesa_->HideNotice();
  // The seat is kept on disk until the match ends or is left, so that a game
  // that stopped meanwhile can take it up again.
  const std::string address =
      (joined.Address.Secure ? std::string("wss://") : std::string()) + joined.Address.Text();
  if (!joined.Token.empty()) {
    WriteKeptTable(dataFolder_, KeptTable{address, joined.Code, joined.Seat, joined.Token});
  }
  NetOutcome outcome;
  {
    NetworkMatch match(state_, *mesa_, *port_, joined, std::move(link));
    net_ = &match;
    outcome = match.Play();
    net_ = nullptr;
  }
  if (outcome == NetOutcome::kFinished || outcome == NetOutcome::kLeft ||
      outcome == NetOutcome::kRefused) {
    WriteKeptTable(dataFolder_, std::nullopt);
  }
  // The local match comes back as it was, drawn again.
  state_ = *localAside_;
  localAside_.reset();
  port_->SetContext(engine_.get());
  port_->GameLoaded();
  mesa_->Painter().DrawAll();
  mesa_->Show();
  mesa_->setCursor(CursorOfKind(1));
  if (outcome == NetOutcome::kClosing || leaving_) return;
  if (std::exchange(exitAfterNet_, false)) {
    QTimer::singleShot(0, mesa_, [this] { OnButton(kExitButton); });
  }
  if (outcome == NetOutcome::kFinished) {
    Tell(Utf(kNetMatchTitle), Utf(kNetMatchOverText), kPictureInformation);
  }
  if (!state_.MatchInProgress) return;
  if (localLoopWaits) {
    // The loop waiting below this handler unwinds and takes the hand up
    // again from the state, which shows its wait anew.
    engine_->Control.Pending = LoopEntry::kResumeHand;
  } else {
    QTimer::singleShot(0, mesa_, [this] { ResumeHand(); });
  }
}

}  // namespace tarvelis
