// The program's entry and exit: finds the data folder, loads the settings and
// the state, brings up the table, warns about an unsuitable screen, and saves
// everything when the user leaves.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "model/random.h"
#include "net/joined_table.h"
#include "storage/window_file.h"

namespace tarvelis {

namespace net {
struct JoinedTable;
}

class DataFolderLock;
class NetLink;
class NetworkMatch;
struct DataFolderChoice;
class EngineHooks;
class ExitSignals;
class Mesa;
class QtTablePort;
class RecorderPanel;
struct EngineContext;
struct GameState;

class Program {
 public:
  explicit Program(GameState& state);
  ~Program();

  // Everything up to the idle table. Returns false when the program cannot
  // run at all (no screen), or when another copy holds its data folder.
  bool StartProgram();
  // The other copy took this start's invitation: nothing went wrong.
  bool HandedOver() const { return handedOver_; }

  // The exit button: refuses while a seat is being chosen or the recorder is
  // on, asks when a match is in progress, saves and quits.
  void ExitProgram();

  // Leaving without questions, for a signal or the end of the desktop's
  // session: saves what can be saved as it stands and quits.
  void LeaveNow();

  // Saves the state when it holds together as leaving would save it: the
  // table idle or waiting for the user, the recorder off, no leader being
  // chosen. Otherwise the save of the last move stands. False when nothing
  // was saved.
  bool SaveIfAtRest();

  // Saves the state as play goes, quietly: a failure is told at the exit.
  void SaveAsPlayGoes();

  // The new-match button: asks before leaving a running match, then plays
  // the new one in the one turn loop.
  void StartMatch();

  // Carries on with a hand left unfinished when the program was last used.
  void ResumeHand();

  // Plays a match at a server's table on the table window, from the seat
  // taken over `link` (whose next message is the match's first), then gives
  // the local match back as it was. Nothing of the networked match is saved
  // in the settings file or a saved game.
  void PlayNetworkMatch(const net::JoinedTable& joined, std::unique_ptr<NetLink> link);

  // "--join ADDRESS CODE SEAT [NAME]" or a "tarvelis://" link (the words
  // after "--join", or the link): the table to join once the program has
  // started, instead of resuming the local match first. When another copy
  // holds the data folder, it is handed to that copy instead.
  void JoinAtStart(const QStringList& words) { joinArgs_ = words; }
  // "--watch ADDRESS CODE": the table to watch once the program has started.
  void WatchAtStart(const QStringList& words) { watchArgs_ = words; }
  void JoinFromCommandLine();

  // Watches a public table read-only (WatchNetworkTable, network_launch.h).
  bool WatchTable(const net::ServerAddress& address, const std::string& code);
  // The program running now, for the ways to a table (network_launch.h).
  static Program* Running() { return running_; }

  // The "+" key: the pips on the table and the tiles still to come.
  void SacaDatosTeclaMas();

  // The two questions asked before a running match is left. Both answer true
  // without asking when no match is in progress.
  bool ConfirmPostpone();
  bool ConfirmAbandon();

  // "Jugar en red" of the options menu: the window that creates or joins a
  // table on a server; once its match starts, plays it on the table. A local
  // match in progress is not touched.
  void OnNetworkPlay();

  const std::filesystem::path& DataFolder() const { return dataFolder_; }
  Mesa* Table() const { return mesa_; }

 private:
  // The bar's presses, one function per button; a disabled button never
  // gets here.
  void OnButton(int n);
  // The saved-games entries of the options menu; a load restarts play.
  void OnSavedGames(int entry);
  void OnHelpButton();
  void OnSettingsButton();
  void OnTutorButton();
  void OnScoreButton();
  void KeepInHistory();
  void KeepNetworkMatchInHistory();
  // The steps of the start, in order (program_start.cpp).
  DataFolderChoice ChooseFolderAndScale(const QRect& area, const QRect& available);
  bool TakeFolder(const DataFolderChoice& where);
  void LoadSettingsAndTotals(const DataFolderChoice& where, const QRect& area);
  void BuildTable();
  void ShowTable(const QRect& area);
  void WarnAboutScreen(const QRect& area);
  void FirstStep();
  // Brings the table to the front when a second copy starts on its folder,
  // and takes the invitation that copy was started with (single_instance.cpp).
  void ListenForSecondCopies();
  // An invitation handed over by a second start: the player is asked, then
  // the table joined; it waits while a window of the game is up.
  void OnInvitation(const QStringList& words);
  void TakePendingInvitation();
  // Joins the table of the words after "--join" and plays its match, or
  // says why not; the local match comes back after it.
  void JoinInvitation(const QStringList& words);
  void SetLocalAside();
  void BringLocalBack();
  // F11 and the options menu: how the table window is shown, kept for the
  // next start.
  void KeepWindowLook();
  // Sizes and centres the table's window as it was left (or three quarters
  // of the screen).
  // The size of the table's window on a screen of `screen`.
  QSize WindowSize(const QRect& screen) const;
  void PlaceWindow();
  void ToggleClassicLook();
  bool Ask(const QString& title, const QString& text);
  void Tell(const QString& title, const QString& text, int picture);

  GameState& state_;
  std::unique_ptr<DataFolderLock> lock_;
  std::unique_ptr<ExitSignals> signals_;
  std::unique_ptr<EngineHooks> saver_;
  bool leaving_ = false;
  Mesa* mesa_ = nullptr;
  std::unique_ptr<QtTablePort> port_;
  std::unique_ptr<RecorderPanel> recorder_;
  std::unique_ptr<EngineContext> engine_;
  Random random_;
  std::filesystem::path dataFolder_;
  WindowLook look_;
  bool classicNow_ = false;  // the look the table was laid out for at the start
  QStringList joinArgs_;
  QStringList watchArgs_;
  static inline Program* running_ = nullptr;
  bool handedOver_ = false;
  // An invitation from a second start, waiting for the player's windows.
  QStringList pendingInvitation_;
  // While a networked match is played: the match, and the local state it
  // took the place of, which is the one saved.
  NetworkMatch* net_ = nullptr;
  bool joining_ = false;  // waiting for a server's table to start
  // The window was closed during the networked match: once it is left, the
  // program leaves too, as the exit button does.
  bool exitAfterNet_ = false;
  std::unique_ptr<GameState> localAside_;
  // Leaves the networked match after asking; true when it was left.
  bool AskLeaveNetworkMatch();
};

// The resolution notice for a table narrower than 800 pixels.

}  // namespace tarvelis
