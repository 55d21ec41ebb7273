// "TARVE32.INI": the settings and the state of an unfinished match, read once at
// start-up and rewritten when the program is left.
#pragma once

#include <filesystem>
#include <string>

#include "model/game_state.h"
#include "model/texts.h"
#include "storage/history_file.h"

namespace tarvelis {

inline constexpr char kSettingsFileName[] = "TARVE32.INI";
// A settings file whose match could not be resumed is kept under this name
// beside the new one; a later damaged file replaces the copy.
inline constexpr char kDamagedCopyName[] = "TARVE32.INI.damaged";

// Where the settings are read from and written to (see ChooseDataFolder).
struct DataFolderChoice {
  std::filesystem::path Folder;          // where every file is written
  std::filesystem::path SettingsSource;  // the settings file to read
  bool CanSave = true;                   // false: nothing can be written anywhere
};

// What the start-up shows after the load. Message is empty when there is
// nothing to show (no error, or the overflow that was never shown).
struct LoadReport {
  int ErrorNumber = 0;
  std::string Message;
  std::string Title = kLoadErrorTitle;
  bool SettingsNotSaved = false;      // the missing file could not be created, or nothing can be
  bool MatchDropped = false;          // the file held a match that cannot be resumed
  std::filesystem::path DamagedCopy;  // where the damaged file was kept, if it was
};

// Its messages (kNotCreatedMessage, kMatchDroppedMessage, kCannotSaveMessage)
// are in model/texts.

// Loads the settings file of `dataFolder` into `state`. A missing file is
// created with the defaults; a file that cannot be opened leaves the defaults
// in the state; a file that fails part way keeps what was read, repaired.
[[nodiscard]] LoadReport LoadSettings(GameState& state, const std::filesystem::path& dataFolder);

// The same for the folders the start-up chose: the settings are read from
// `where.SettingsSource`; a match that cannot be resumed is dropped, said so,
// and its file kept as kDamagedCopyName in `where.Folder`; when nothing can be
// saved the program plays with what it read and says that changes will not
// last.
[[nodiscard]] LoadReport LoadSettings(GameState& state, const DataFolderChoice& where);

// Writes the whole state to the settings file of `dataFolder`; false on failure.
[[nodiscard]] bool SaveSettings(const GameState& state, const std::filesystem::path& dataFolder);

// The end of a match and its record in the history as one step that a crash
// cannot repeat: the settings file is first written with the match over and
// its record pending, then the record is appended, then the file is written
// again without it. A start that finds a record pending appends it unless the
// history already ends with it (see LoadSettings). False when the match could
// not be recorded; the history then does not hold it.
[[nodiscard]] bool KeepMatchInHistory(const GameState& state,
                                      const std::filesystem::path& dataFolder,
                                      const DateTime& when);

// What the exit says when the settings file could not be written: the path,
// and whether the next start will find the match in play, as an earlier save
// left it (it reads the file on disk to say so), or will not find it.
std::string SaveFailedMessage(const GameState& live, const std::filesystem::path& dataFolder);

// The message of a load error; `dataFolder` names the drive of error 68.
std::string LoadErrorMessage(int errorNumber, const std::filesystem::path& dataFolder);

// The values of a brand-new settings file: the default settings, and zero in
// every field of the match, the hands, the chain, the log and the record.
void ApplyNewFileState(GameState& state);

}  // namespace tarvelis
