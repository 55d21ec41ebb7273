#include "app/program.h"

#include <QApplication>
#include <QDateTime>
#include <QScreen>
#include <QTimer>

#include "dialogs/cover.h"
#include "dialogs/help_window.h"
#include "dialogs/history_viewer.h"
#include "dialogs/message_dialog.h"
#include "dialogs/saved_games_dialog.h"
#include "dialogs/score_report_dialog.h"
#include "engine/hand_end.h"
#include "engine/loaded_game.h"
#include "engine/totaliser.h"
#include "engine/turn_loop.h"
#include "layout/button_bar.h"
#include "layout/options_menu_rules.h"
#include "layout/table_view.h"
#include "model/game_state.h"
#include "model/move_record.h"
#include "platform/cursors.h"
#include "platform/folders.h"
#include "platform/text.h"
#include "platform/waits.h"
#include "storage/data_folder.h"
#include "storage/history_file.h"
#include "storage/settings_file.h"
#include "storage/window_file.h"
#include "table/qt_table_port.h"
#include "table/recorder_panel.h"
#include "table/settings_hooks.h"
#include "table/table_window.h"
#include "table/tutor_marker.h"

namespace tarvelis {
namespace {

QString RightAlignedInThree(int n) {
  return QString::number(n).rightJustified(3, QLatin1Char(' '));
}

constexpr const char* kClassicLookTitle = "Mesa clásica";
constexpr const char* kClassicLookOn =
    "La mesa se verá a su tamaño clásico, sin ampliar, la próxima vez que se inicie el "
    "programa.";
constexpr const char* kClassicLookOff =
    "La mesa se ampliará hasta llenar la pantalla la próxima vez que se inicie el programa.";

}  // namespace

QString ResolutionMessage(int width, int height) {
  return QStringLiteral(
             "Aunque este programa puede funcionar bajo la resolución que tiene actualmente "
             "seleccionada (") +
         RightAlignedInThree(width) + QStringLiteral("x") + RightAlignedInThree(height) +
         QStringLiteral(
             "), la resolución aconsejada para obtener los mejores resultados es la de 800x600 "
             "con 256 o más colores.");
}

Program::Program(GameState& state) : state_(state), random_(ClockSeed()) {}

Program::~Program() {
  recorder_.reset();
  engine_.reset();
  port_.reset();
  delete mesa_;
}

void Program::Tell(const QString& title, const QString& text, int picture) {
  ShowMessage(state_, title, text, picture, kNotice, mesa_);
}

bool Program::Ask(const QString& title, const QString& text) {
  return ShowMessage(state_, title, text, 2, kQuestion, mesa_);
}

bool Program::StartProgram() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return false;

  // The cover, until it has run or the user presses a key or clicks.
  ShowCover();

  // The data folder and the settings. The speed of the machine is not
  // measured: every wait and animation step of this program is timed on the
  // clock, so it runs alike on any machine. The table is measured first: a
  // resumed chain is checked against, and laid for, the table it is shown on.
  const QRect area = screen->geometry();
  // An installed game never keeps its files beside the binary, even when the
  // user could write there (root, say): each user gets their own data folder.
  const std::filesystem::path fallback = DefaultFallbackFolder();
  const DataFolderChoice where =
      ChooseDataFolder(RunsFromInstallFolder() ? fallback : ProgramFolder(), fallback);
  dataFolder_ = where.Folder;
  // The table is laid out for a classic size and blown up to the screen (or
  // kept one pixel per pixel when the user asked for the classic look). The
  // layout stays the same while the program runs, whatever the window does.
  look_ = ReadWindowLook(dataFolder_);
  classicNow_ = look_.Classic;
  const TableSize table = LogicalTableFor(area.width(), area.height(),
                                          look_.Classic ? TableLook::kClassic : TableLook::kScaled);
  state_.Table = ComputeTableGeometry(table.w, table.h);
  state_.MatchInProgress = false;
  const LoadReport report = LoadSettings(state_, where);
  if (!report.Message.empty()) {
    Tell(QString::fromStdString(report.Title), QString::fromStdString(report.Message), 4);
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
  mesa_->onLookChanged = [this] { KeepWindowLook(); };
  mesa_->onClassicToggled = [this] { ToggleClassicLook(); };
  mesa_->classicChosen = [this] { return look_.Classic; };
  mesa_->SetUnscaled(classicNow_ && look_.FullScreen);
  mesa_->LayOut();
  port_ = std::make_unique<QtTablePort>(state_, *mesa_);
  engine_ = std::make_unique<EngineContext>(state_, *port_, random_);
  port_->SetContext(engine_.get());
  port_->onAppendHistory = [this] { KeepInHistory(); };
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
    Tell(QStringLiteral("Resolución de pantalla"),
         ResolutionMessage(std::max(area.width(), 1), std::max(area.height(), 1)), 1);
  }
  if (TableFontWouldDrawWrong()) {
    Tell(QStringLiteral("Tamaño de letra"),
         QStringLiteral(
             "TARVELIS programa está preparado para funcionar con el tamaño de letra normal, es "
             "decir de 96 puntos por pulgada. Su ordenador está utilizando actualmente un tamaño "
             "de letra grande que va a producir un deficiente funcionamiento de este programa. "
             "Para obtener un perfecto rendimiento de TARVELIS debe modificar la configuración de "
             "su pantalla y cambiarla a tamaño de letra pequeño."),
         3);
  }

  // A match left unfinished, in a hand or between two, goes on once
  // the program runs its events.
  if (state_.MatchInProgress) {
    QTimer::singleShot(0, mesa_, [this] { ResumeHand(); });
  } else {
    mesa_->setCursor(CursorOfKind(1));
  }
  return true;
}

void Program::PlaceWindow() {
  // The window as it was left, kept on the screen; three quarters of the
  // screen the first time.
  const QRect screen = mesa_->screen()->availableGeometry();
  QSize size(look_.Width, look_.Height);
  if (size.isEmpty()) size = screen.size() * 3 / 4;
  size = size.boundedTo(screen.size());
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
       QString::fromUtf8(look_.Classic ? kClassicLookOn : kClassicLookOff), 1);
}

void Program::ResumeHand() {
  mesa_->Painter().DrawAll();
  mesa_->Show();
  // The list picks up the moves of the resumed hand, the last one selected.
  port_->RecorderSelect(state_.MoveNumber - 2);
  Tell(QStringLiteral("Continuar la partida anterior"),
       QStringLiteral("Continua el desarrollo de la partida que no finalizó en la sesión "
                      "anterior."),
       1);
  RunMatch(*engine_, LoopEntry::kResumeHand);
  mesa_->setCursor(CursorOfKind(1));
}

void Program::StartMatch() {
  TocaSonido(state_, 9);
  if (!ConfirmAbandon()) return;
  mesa_->setCursor(BusyCursor());
  state_.NoticeShown = false;
  // Runs the match here, or, when a loop is already waiting further down,
  // tells it to unwind and carry on with the new match.
  RunMatch(*engine_, LoopEntry::kNewMatch);
  mesa_->setCursor(CursorOfKind(1));
}

void Program::KeepInHistory() {
  const QDateTime now = QDateTime::currentDateTime();
  const DateTime when{now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                      now.time().minute()};
  if (!AppendHistory(state_, dataFolder_, when)) {
    Tell(QStringLiteral("Histórico de partidas jugadas"),
         QStringLiteral("No se ha podido guardar la partida en el histórico ") +
             QString::fromStdString((dataFolder_ / kHistoryFileName).string()) +
             QStringLiteral("."),
         4);
  }
}

void Program::SacaDatosTeclaMas() {
  if (!state_.MatchInProgress || mesa_->Modes().AllTilesFaceUp) return;
  Tell(QString::fromLatin1(kTotaliserTitle), QString::fromStdString(TotaliserText(state_)), 1);
}

bool Program::ConfirmPostpone() {
  if (!state_.MatchInProgress) return true;
  return Ask(QStringLiteral("Posponer la partida en curso"),
             QStringLiteral("¿Desea abandonar el programa para continuar en otro momento la "
                            "partida que está jugando?"));
}

bool Program::ConfirmAbandon() {
  if (!state_.MatchInProgress) return true;
  return Ask(QStringLiteral("Abandonar la partida en curso"),
             QStringLiteral("¿Desea abandonar la partida que está jugando para comenzar una "
                            "nueva partida?"));
}

void Program::ExitProgram() {
  TocaSonido(state_, 9);
  if (mesa_->Modes().ChoosingLeader) {
    Tell(QStringLiteral("TARVELIS"),
         QStringLiteral("Elija el jugador que va a salir este juego antes de poder abandonar el "
                        "programa."),
         3);
    return;
  }
  if (state_.RecorderOn) {
    Tell(QStringLiteral("TARVELIS"),
         QStringLiteral("Tiene que apagar la Grabadora de jugadas antes de poder abandonar el "
                        "programa."),
         3);
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
    Tell(QStringLiteral("Error en la grabación de datos"),
         QStringLiteral("No se han podido guardar los datos en ") +
             QString::fromStdString((dataFolder_ / "TARVE32.INI").string()) +
             QStringLiteral(". La partida en curso no se podrá continuar."),
         4);
  }
  // Every loop waiting below this handler unwinds before the program ends;
  // the event loop is left directly, since closing the table would only ask
  // again.
  engine_->Control.ExitRequested = true;
  mesa_->AllowClose();
  QCoreApplication::exit(0);
}

void Program::OnSavedGames(int entry) {
  const SavedGamesMode mode = entry == kSaveGame   ? SavedGamesMode::kSave
                              : entry == kLoadGame ? SavedGamesMode::kLoad
                                                   : SavedGamesMode::kDelete;
  if (!OpenSavedGames(state_, mode, dataFolder_, mesa_)) return;
  // The table is rebuilt from the loaded state: the chain from its record,
  // the hands, the scoreboard and the move list.
  SettleLoadedGame(state_);
  // Nothing the table was doing with the old game's hands carries over.
  mesa_->Modes() = TableModes{};
  port_->ClearTableForDeal();
  for (int move = 1; move < state_.MoveNumber; ++move) {
    port_->RecorderLineAdded(move, RecorderLine(state_, move));
  }
  // Play restarts from the loaded position in the one turn loop.
  ResumeLoadedGame(*engine_);
  mesa_->setCursor(CursorOfKind(1));
}

void Program::OnButton(int n) {
  if (!ButtonEnabled(state_, mesa_->Modes(), n)) return;
  switch (n) {
    case 1:
      OnHelpButton();
      break;
    case 2:
      StartMatch();
      break;
    case 3:
      OnSettingsButton();
      break;
    case 4:
      OnTutorButton();
      break;
    case 5:
      ExitProgram();
      break;
    case 6:
      OnScoreButton();
      break;
    default:
      break;
  }
}

void Program::OnHelpButton() {
  TocaSonido(state_, 9);
  ShowHelp(mesa_);
}

void Program::OnSettingsButton() {
  OpenSettingsWindow(state_, *mesa_, dataFolder_);
  // The move list follows its rule at once; the recorder panel knows where.
  if (recorder_) recorder_->Refresh();
}

void Program::OnTutorButton() {
  TocaSonido(state_, 9);
  ShowTutor(state_, *mesa_);
}

void Program::OnScoreButton() {
  TocaSonido(state_, 9);
  ShowScoreReport(state_, mesa_,
                  [this] { OpenHistoryViewer(state_, dataFolder_, QApplication::activeWindow()); });
  mesa_->RefreshPointer();
}

}  // namespace tarvelis
