// The program's start: the data folder and its lock, the settings, the table
// window with its hooks, the screen's warnings and the first thing to do, and
// how the window is sized and kept.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdint>
#include <optional>

#include "app/exit_signals.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "dialogs/cover.h"
#include "dialogs/message_dialog.h"
#include "engine/hand_end.h"
#include "engine/totaliser.h"
#include "engine/turn_loop.h"
#include "layout/button_bar.h"
#include "layout/table_view.h"
#include "model/game_state.h"
#include "model/texts.h"
#include "platform/cursors.h"
#include "platform/folders.h"
#include "platform/raster.h"
#include "platform/text.h"
#include "storage/data_folder.h"
#include "storage/settings_file.h"
#include "storage/window_file.h"
#include "table/qt_table_port.h"
#include "table/recorder_panel.h"
#include "table/table_window.h"

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

// The table is laid out for a classic size and blown up to the screen (or
// kept one pixel per pixel when the user asked for the classic look).
TableSize TableFor(const QRect& area, bool classic) {
  return LogicalTableFor(area.width(), area.height(),
                         classic ? TableLook::kClassic : TableLook::kScaled);
}

}  // namespace

Program::Program(GameState& state) : state_(state), random_(TestSeed().value_or(ClockSeed())) {
  running_ = this;
}

Program::~Program() {
  if (running_ == this) running_ = nullptr;
  signals_.reset();
  recorder_.reset();
  engine_.reset();
  port_.reset();
  delete mesa_;
}

bool Program::StartProgram() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return false;
  const QRect area = screen->geometry();
  const DataFolderChoice where = ChooseFolderAndScale(area, screen->availableGeometry());
  if (!TakeFolder(where)) return false;
  // The cover, until it has run or the user presses a key or clicks.
  ShowCover();
  LoadSettingsAndTotals(where, area);
  BuildTable();
  ShowTable(area);
  WarnAboutScreen(area);
  FirstStep();
  return true;
}

DataFolderChoice Program::ChooseFolderAndScale(const QRect& area, const QRect& available) {
  // An installed game never keeps its files beside the binary, even when the
  // user could write there (root, say): each user gets their own data folder.
  const std::filesystem::path fallback = DefaultFallbackFolder();
  const DataFolderChoice where =
      ChooseDataFolder(RunsFromInstallFolder() ? fallback : ProgramFolder(), fallback);
  dataFolder_ = where.Folder;
  // The table is measured first: a resumed chain is checked against, and
  // laid for, the table it is shown on. The layout stays the same while the
  // program runs, whatever the window does.
  look_ = ReadWindowLook(dataFolder_);
  classicNow_ = look_.Classic;
  const TableSize table = TableFor(area, look_.Classic);
  // The windows shown before the table (a second copy's warning, the cover,
  // a message about the files) are blown up by the factor it will have.
  const QSize shownIn = look_.FullScreen ? area.size() : WindowSize(available);
  SetWindowScale(
      FitTable(table, shownIn.width(), shownIn.height(), classicNow_ && look_.FullScreen).Factor);
  return where;
}

bool Program::TakeFolder(const DataFolderChoice& where) {
  // One copy per data folder: two would each write their own match over the
  // other's and both could finish, and record, the same match.
  lock_ = std::make_unique<DataFolderLock>(dataFolder_);
  if (lock_->state() == DataFolderLock::State::kHeldByAnother) {
    // The copy that runs comes to the front, where the desktop lets it, and
    // takes the invitation this start was given; then nothing is to be said.
    const bool handed = KnockAtRunningCopy(dataFolder_, joinArgs_);
    if (handed && !joinArgs_.isEmpty()) {
      handedOver_ = true;
      return false;
    }
    ShowMessage(state_, Utf(kSecondCopyTitle), Utf(SecondCopyMessage(dataFolder_.string())),
                kPictureWarning, kNotice, nullptr);
    return false;
  }
  // Only the copy holding the folder may clear what a killed write left.
  if (lock_->state() == DataFolderLock::State::kHeld && where.CanSave) {
    RemoveStaleTemporaries(dataFolder_);
  }
  return true;
}

void Program::LoadSettingsAndTotals(const DataFolderChoice& where, const QRect& area) {
  // The speed of the machine is not measured: every wait and animation step
  // of this program is timed on the clock, so it runs alike on any machine.
  const TableSize table = TableFor(area, look_.Classic);
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
}

void Program::BuildTable() {
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
  // A window's size is remembered as soon as the user has settled on it.
  mesa_->onWindowSized = [this](QSize size) {
    if (look_.FullScreen) return;
    look_.Width = size.width();
    look_.Height = size.height();
    WriteWindowLook(dataFolder_, look_);
  };
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
}

void Program::ShowTable(const QRect& area) {
  // Full screen on the primary screen, in device-independent pixels so that
  // a high-density screen scales it as a whole; or the window as it was left.
  if (look_.FullScreen) {
    mesa_->setGeometry(area);
    mesa_->showFullScreen();
  } else {
    PlaceWindow();
    mesa_->showNormal();
  }
  mesa_->activateWindow();
  QCoreApplication::processEvents();
}

void Program::WarnAboutScreen(const QRect& area) {
  if (state_.Table.LowResolution) {
    Tell(Utf(kResolutionTitle),
         Utf(ResolutionMessage(std::max(area.width(), 1), std::max(area.height(), 1))),
         kPictureInformation);
  }
  if (TableFontWouldDrawWrong()) {
    Tell(Utf(kLetterSizeTitle), Utf(kLetterSizeMessage), kPictureWarning);
  }
}

void Program::FirstStep() {
  // A match left unfinished, in a hand or between two, goes on once the
  // program runs its events; a table to join comes first, and the local
  // match after it.
  if (!joinArgs_.isEmpty() || !watchArgs_.isEmpty()) {
    QTimer::singleShot(0, mesa_, [this] { JoinFromCommandLine(); });
  } else if (state_.MatchInProgress) {
    QTimer::singleShot(0, mesa_, [this] { ResumeHand(); });
  } else {
    mesa_->setCursor(CursorOfKind(1));
  }
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

}  // namespace tarvelis
