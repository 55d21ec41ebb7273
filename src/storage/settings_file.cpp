#include "storage/settings_file.h"

#include <algorithm>

#include "storage/expert_choice.h"
#include "storage/file_access.h"
#include "storage/state_file.h"
#include "storage/state_file_errors.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;

LoadReport Report(int errorNumber, const fs::path& dataFolder) {
  LoadReport report;
  report.ErrorNumber = errorNumber;
  report.Message = LoadErrorMessage(errorNumber, dataFolder);
  return report;
}

}  // namespace

std::string LoadErrorMessage(int errorNumber, const fs::path& dataFolder) {
  switch (errorNumber) {
    case kErrNone:
    case kErrOverflow:
      return {};
    case kErrOutOfMemory:
      return kOutOfMemoryMessage;
    case kErrFileNotFound:
      return kSettingsCreatedMessage;
    case kErrDeviceUnavailable:
      return DriveNotReadyMessage(dataFolder.string());
    case kErrPathNotFound:
      return kSettingsPathMessage;
    default:
      return ErrorNumberMessage(errorNumber);
  }
}

void ApplyNewFileState(GameState& s) {
  ApplyDefaults(s);
  s.MatchInProgress = false;
  s.HandInProgress = false;
  s.HandNumber = 0;
  s.MoveNumber = 0;
  s.CurrentSeat = 0;
  s.LeadSeat = 0;
  s.HandWinner = 0;
  s.NoticeShown = false;
  std::fill(s.HandLog.begin(), s.HandLog.end(), HandLogEntry{});
  s.EndPips = {};
  s.EndHeading = {};
  s.EndCount = {};
  s.EndCol = {};
  s.EndRow = {};
  s.Hand = {};
  s.SeatTileCount = {};
  s.SeatDoubles = {};
  s.SeatPipCount = {};
  s.SeatPipMark = {};
  s.SeatPipRank = {};
  s.DoubleHolder = {};
  s.MoveRecord.assign(41, MoveEntry{});
}

LoadReport LoadSettings(GameState& s, const fs::path& dataFolder) {
  return LoadSettings(s, DataFolderChoice{dataFolder, dataFolder / kSettingsFileName, true});
}

LoadReport LoadSettings(GameState& s, const DataFolderChoice& where) {
  // Fields a damaged file never reaches keep these values rather than
  // whatever the state held before.
  ApplyNewFileState(s);
  const ReadOutcome outcome = LoadStateFile(s, where.SettingsSource);
  LoadExpertChoice(s, where.SettingsSource.parent_path());
  LoadReport report = Report(outcome.ErrorNumber, where.Folder);
  report.MatchDropped = outcome.MatchDropped;
  if (outcome.Opened && (outcome.ErrorNumber != 0 || outcome.MatchDropped)) {
    // The program will write its own state over this file; what the user had
    // is kept beside it.
    const fs::path copy = where.Folder / kDamagedCopyName;
    if (where.CanSave && CopyWhole(where.SettingsSource, copy)) report.DamagedCopy = copy;
    if (report.Message.empty()) report.Message = kMatchDroppedMessage;
    if (!report.DamagedCopy.empty()) {
      report.Message += DamagedCopyNote(copy.string());
    }
  }
  // A match that ended with its record pending: the record goes into the
  // history unless it reached it before the program stopped, and the file
  // is written again without it.
  if (!outcome.PendingRecord.empty() && where.CanSave &&
      AppendHistoryOnce(where.Folder, outcome.PendingRecord)) {
    [[maybe_unused]] const bool saved = SaveSettings(s, where.Folder);
  }
  // Only a missing file is created. A file that read part way is left as it
  // is until the program saves, and one that could not be opened (rights, a
  // folder of that name) is never replaced by the defaults.
  const bool missing =
      outcome.ErrorNumber == kErrFileNotFound || outcome.ErrorNumber == kErrPathNotFound;
  if (missing && where.CanSave && SaveSettings(s, where.Folder)) return report;
  if (missing) {
    // The first-start message says the file was created; when it could not
    // be, it says so instead, or the user would expect settings to last.
    if (outcome.ErrorNumber == kErrFileNotFound || !where.CanSave) {
      report.Message = kNotCreatedMessage;
    }
    report.SettingsNotSaved = true;
  } else if (!where.CanSave) {
    report.Message =
        report.Message.empty() ? kCannotSaveMessage : report.Message + " " + kCannotSaveMessage;
    report.SettingsNotSaved = true;
  }
  return report;
}

std::string SaveFailedMessage(const GameState& live, const fs::path& dataFolder) {
  const fs::path file = dataFolder / kSettingsFileName;
  if (!live.MatchInProgress) return SettingsNotSavedMessage(file.string(), false);
  GameState disk;
  ApplyNewFileState(disk);
  disk.Table = live.Table;
  const ReadOutcome outcome = LoadStateFile(disk, file);
  const bool onDisk = outcome.ErrorNumber == 0 && disk.MatchInProgress;
  return SettingsNotSavedAtExitMessage(file.string(), onDisk);
}

bool KeepMatchInHistory(const GameState& s, const fs::path& dataFolder, const DateTime& when) {
  // The record as the settings file can hold it (a name's double quote
  // becomes an apostrophe there), so the history gets the very same bytes
  // and a start can tell whether it already holds them.
  std::string fields = HistoryRecord(s, when).substr(0, kHistoryFieldsSize);
  std::replace(fields.begin(), fields.end(), '"', '\'');
  GameState ended = s;
  ended.MatchInProgress = false;
  ended.HandInProgress = false;
  ended.MoveNumber = 0;
  const fs::path file = dataFolder / kSettingsFileName;
  // Without the pending record on disk, an append could be repeated by the
  // next start resuming the match it ended.
  if (!SaveStateFile(ended, file, fields)) return false;
  const bool appended = AppendHistoryOnce(dataFolder, fields);
  // When this fails the record stays pending and the next start settles it.
  [[maybe_unused]] const bool cleared = SaveStateFile(ended, file);
  return appended;
}

bool SaveSettings(const GameState& s, const fs::path& dataFolder) {
  const bool saved = SaveStateFile(s, dataFolder / kSettingsFileName);
  return SaveExpertChoice(s, dataFolder) && saved;
}

}  // namespace tarvelis
