// The program's entry and exit: finds the data folder, loads the settings and
// the state, brings up the table, warns about an unsuitable screen, and saves
// everything when the user leaves.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "model/random.h"
#include "storage/window_file.h"

namespace tarvelis {

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
  // run at all (no screen).
  bool StartProgram();

  // The exit button: refuses while a seat is being chosen or the recorder is
  // on, asks when a match is in progress, saves and quits.
  void ExitProgram();

  // The new-match button: asks before leaving a running match, then plays
  // the new one in the one turn loop.
  void StartMatch();

  // Carries on with a hand left unfinished when the program was last used.
  void ResumeHand();

  // The "+" key: the pips on the table and the tiles still to come.
  void SacaDatosTeclaMas();

  // The two questions asked before a running match is left. Both answer true
  // without asking when no match is in progress.
  bool ConfirmPostpone();
  bool ConfirmAbandon();

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
  // F11 and the options menu: how the table window is shown, kept for the
  // next start.
  void KeepWindowLook();
  // Sizes and centres the table's window as it was left (or three quarters
  // of the screen).
  void PlaceWindow();
  void ToggleClassicLook();
  bool Ask(const QString& title, const QString& text);
  void Tell(const QString& title, const QString& text, int picture);

  GameState& state_;
  Mesa* mesa_ = nullptr;
  std::unique_ptr<QtTablePort> port_;
  std::unique_ptr<RecorderPanel> recorder_;
  std::unique_ptr<EngineContext> engine_;
  Random random_;
  std::filesystem::path dataFolder_;
  WindowLook look_;
  bool classicNow_ = false;  // the look the table was laid out for at the start
};

// The smallest window the table may be shrunk to.
inline constexpr int kSmallestWindowW = 640;
inline constexpr int kSmallestWindowH = 480;

// The resolution notice for a table narrower than 800 pixels.
QString ResolutionMessage(int width, int height);

}  // namespace tarvelis
