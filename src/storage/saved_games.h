// Saved games: the whole game state kept under a name the user chose, one file
// "<name>.man" in the data folder, in the format of the settings-and-state
// file. This is everything the saved-games dialog decides; the window only
// shows it and routes the keys and clicks here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "model/texts.h"

namespace tarvelis {

inline constexpr char kSavedGameExtension[] = ".man";
inline constexpr int kSavedGameNameChars = 64;

enum class SavedGamesMode : int { kLoad = 1, kSave = 2, kDelete = 3 };

// The title line and the message line the dialog opens with in each mode.
std::string SavedGamesTitle(SavedGamesMode mode);
std::string SavedGamesMessage(SavedGamesMode mode);
// The message line once the first press of "Guardar" found the name taken is
// kSavedGameExistsMessage (model/texts).
// The message lines when the name typed cannot be used, and why, and once the
// first press of "Borrar" asks for a second, are in model/texts too.

// The name box's text as a name: its first 64 characters, without the spaces
// at either end.
std::string SavedGameName(std::string_view typed);

// True when `name` can only ever mean one plain file of the data folder: not
// empty, valid UTF-8, no "/" or "\", not "." or "..", no control character.
// Any other name is one that cannot be opened.
bool IsPlainSavedGameName(std::string_view name);

// The names of the saved games in `folder`: every plain file whose name ends
// in ".man", in any case, without that ending; each name once, in the order a
// reader expects (letters compared without regard to case).
std::vector<std::string> ListSavedGames(const std::filesystem::path& folder);

// The file of saved game `name`: "<name>.man", or failing that the same name
// with the ending in other capitals (".MAN", as older copies of the game
// wrote). Empty when there is none or the name is not plain.
std::filesystem::path FindSavedGame(const std::filesystem::path& folder, std::string_view name);

// What became of a load, a save or a delete.
enum class SavedGameOutcome {
  kDone,
  kRefused,       // the action is disabled for this name: nothing happened
  kConfirmFirst,  // a second press overwrites the name taken, or deletes
  kFailed,        // the file could not be read, written or deleted
};

// The dialog's state: its mode, the name typed so far, and the overwrite
// confirmation of the save mode.
class SavedGames {
 public:
  SavedGames(SavedGamesMode mode, std::filesystem::path folder);

  SavedGamesMode Mode() const { return mode_; }
  const std::filesystem::path& Folder() const { return folder_; }
  const std::string& Name() const { return name_; }
  // The message line as it stands.
  const std::string& Message() const { return message_; }
  bool OverwritePending() const { return overwritePending_; }
  // Why the last action failed, for the player.
  const std::string& Error() const { return error_; }

  // The name box changed. Typing also withdraws a pending overwrite or
  // delete; a name that cannot be used says why on the message line.
  void Type(std::string_view text);

  // The action button of the mode: load and delete need a saved game of that
  // name, save a name that can be written; never a name longer than
  // kSavedGameNameChars.
  bool ActionEnabled() const;

  // RellenaLista: the saved games to list.
  std::vector<std::string> RellenaLista() const { return ListSavedGames(folder_); }

  // CargaMano: all or nothing. On success the game in play becomes the saved
  // one and the log record of its unfinished hand is emptied; play is to
  // restart from it. A file that is missing or damaged
  // leaves `state` exactly as it was and says why in Error().
  SavedGameOutcome CargaMano(GameState& state);

  // GuardaMano: a name already taken first asks for a second press; the
  // file is written beside the old one and renamed over it, so a failed save
  // never costs the game it would have replaced.
  SavedGameOutcome GuardaMano(const GameState& state);

  // Deletes the saved game of the name (every copy whatever the capitals of
  // its ending) at the second press; the first asks for it.
  SavedGameOutcome Borra();

 private:
  SavedGamesMode mode_;
  std::filesystem::path folder_;
  std::string name_;
  std::string message_;
  std::string error_;
  bool overwritePending_ = false;
  bool deletePending_ = false;
  bool tooLong_ = false;
};

}  // namespace tarvelis
