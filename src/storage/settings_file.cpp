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

const char kMatchDroppedMessage[] =
    "La partida que no finalizó en la sesión anterior no se puede continuar: sus datos en "
    "TARVE32.INI están dañados.";

const char kCannotSaveMessage[] =
    "No se puede escribir en la carpeta del programa ni en la carpeta de datos del usuario. Se "
    "juega con los datos guardados, pero los cambios no se podrán guardar.";

const char kNotCreatedMessage[] =
    "No se encuentra el fichero de inicialización TARVE32.INI y no se ha podido crear. Se "
    "juega con los valores establecidos por defecto, pero los cambios no se podrán guardar.";

std::string LoadErrorMessage(int errorNumber, const fs::path& dataFolder) {
  switch (errorNumber) {
    case kErrNone:
    case kErrOverflow:
      return {};
    case kErrOutOfMemory:
      return "CID ERROR 7 : Insuficiente memoria";
    case kErrFileNotFound:
      return "No se encuentra el fichero de inicialización TARVE32.INI. Se ha  procedido  a  "
             "crearlo automáticamente  con  los  valores establecidos por defecto.";
    case kErrDeviceUnavailable:
      return "CID ERROR 68: Unidad " + dataFolder.string() + ": no preparada";
    case kErrPathNotFound:
      return "CID ERROR 76: No existe el fichero de inicialización TARVE32.INI";
    default:
      return "CID ERROR " + std::to_string(errorNumber);
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
      report.Message += " Se ha guardado una copia del fichero en " + copy.string() + ".";
    }
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

bool SaveSettings(const GameState& s, const fs::path& dataFolder) {
  const bool saved = SaveStateFile(s, dataFolder / kSettingsFileName);
  return SaveExpertChoice(s, dataFolder) && saved;
}

}  // namespace tarvelis
