#include "storage/state_file.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <utility>

#include "model/move_rules.h"
#include "storage/state_file_check.h"
#include "storage/state_file_errors.h"
#include "storage/state_file_fields.h"
#include "storage/state_file_layout.h"
#include "storage/text_codec.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;

bool OneOrTwo(int v) {
  return v == 1 || v == 2;
}
bool Within(int v, int low, int high) {
  return v >= low && v <= high;
}

void RepairRule(i16& rule, i16 fallback) {
  if (!OneOrTwo(rule)) rule = fallback;
}

void ClearHandLog(GameState& s) {
  std::fill(s.HandLog.begin(), s.HandLog.end(), HandLogEntry{});
}

// A file that claims more hands or moves than a game can reach is damaged
// there; the counts go to zero so that nothing is read or sized from them.
void RefuseImpossibleCounts(FieldReader& r, GameState& s) {
  if (!Within(s.HandNumber, 0, kMaxHandNumber) || !Within(s.MoveNumber, 0, kMaxMoveNumber)) {
    r.Fail(kErrSubscript);
    s.HandNumber = 0;
    s.MoveNumber = 0;
  }
}

// Saved before the first lead of a match that the double six must open, the
// holder of that double is the one to move. A leader the players chose
// themselves ("Elegir en cada juego") keeps the turn: the double six is not
// forced then.
void SixDoubleHolderToMove(GameState& s) {
  if (!s.HandInProgress || s.MoveNumber != 1 || !SixDoubleForced(s)) return;
  const int holder = s.DoubleHolder[6];
  if (Within(holder, 1, kSeats)) s.CurrentSeat = static_cast<i16>(holder);
}

}  // namespace

std::string StateFileText(const GameState& s) {
  std::string text;
  text.reserve(8192);
  FieldWriter w(text);
  layout::SettingsLine(w, s);
  layout::MatchLine(w, s);
  const int hands = std::min<int>(s.HandNumber - 1, kHandLogSize);
  for (int h = 1; h <= hands; ++h) layout::LogLine(w, s.HandLog[h]);
  layout::EndLines(w, s);
  for (int seat = 1; seat <= kSeats; ++seat) layout::SeatBlock(w, s, seat);
  layout::DoubleLines(w, s);
  const int moves = std::min<int>(s.MoveNumber - 1, static_cast<int>(s.MoveRecord.size()) - 1);
  for (int n = 1; n <= moves; ++n) layout::MoveLine(w, s.MoveRecord[n]);
  return text;
}

void WriteState(const GameState& s, std::ostream& out) {
  const std::string text = StateFileText(s);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void RepairLoadedSettings(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatName[seat] = CapitaliseWords(s.SeatName[seat]);
    if (!OneOrTwo(s.SeatTilesShown[seat])) s.SeatTilesShown[seat] = kTilesHidden;
    if (!OneOrTwo(s.SeatControl[seat])) s.SeatControl[seat] = kAutomatic;
    if (!Within(s.SeatLevel[seat], 0, 100)) s.SeatLevel[seat] = 50;
  }
  for (i16* rule : {&s.RulePauseBetweenMoves, &s.RuleDirection, &s.RuleSound, &s.RuleDealing,
                    &s.RuleFiveDoubles, &s.RuleFirstLead, &s.RuleScoring, &s.RuleCountedPips,
                    &s.RuleScoringPair, &s.RuleTieLead, &s.RuleMode}) {
    RepairRule(*rule, 1);
  }
  RepairRule(s.RulePlayedTilesShown, 2);
  RepairRule(s.RuleMoveList, 2);
  if (!Within(s.RuleTieWinner, 1, 3)) s.RuleTieWinner = 1;
  if (!Within(s.RuleNextLead, 1, 4)) s.RuleNextLead = 1;
  if (s.MatchTarget < 1) s.MatchTarget = 7;
  if (!Within(s.GameSpeed, 0, 100)) s.GameSpeed = 50;
  if (s.DirectionStep != 1 && s.DirectionStep != -1) SyncDirectionStep(s);
}

ReadOutcome ReadState(GameState& s, std::istream& in) {
  // Field after field in the order of the file; after a failure the reads
  // change nothing, so the loops below simply run out.
  FieldReader r(in);
  layout::SettingsLine(r, s);
  layout::MatchLine(r, s);
  RefuseImpossibleCounts(r, s);
  ClearHandLog(s);
  for (int h = 1; h < s.HandNumber && h <= kHandLogSize; ++h) layout::LogLine(r, s.HandLog[h]);
  layout::EndLines(r, s);
  for (int seat = 1; seat <= kSeats; ++seat) layout::SeatBlock(r, s, seat);
  layout::DoubleLines(r, s);
  s.MoveRecord.assign(static_cast<std::size_t>(s.MoveNumber) + 41, MoveEntry{});
  for (int n = 1; n < s.MoveNumber; ++n) layout::MoveLine(r, s.MoveRecord[n]);

  // The settings read are repaired even when the read failed, since the
  // program goes on with them.
  RepairLoadedSettings(s);

  // A half-read file, or a match that contradicts itself, is not resumed.
  ReadOutcome outcome{r.Error(), false};
  if (outcome.ErrorNumber != 0 || !MatchFault(s).empty()) {
    outcome.MatchDropped = s.MatchInProgress || s.HandInProgress;
    s.MatchInProgress = false;
    s.HandInProgress = false;
  }

  SixDoubleHolderToMove(s);
  if (!s.MatchInProgress) ClearHandLog(s);
  return outcome;
}

bool WriteAndClose(std::ofstream& out, std::string_view bytes) {
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  const bool written = out.good();
  out.close();
  return written && !out.fail();
}

bool SaveStateFile(const GameState& s, const fs::path& file) {
  fs::path fresh = file;
  fresh += ".tmp";
  std::error_code ec;
  {
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return false;
    if (!WriteAndClose(out, StateFileText(s))) {
      fs::remove(fresh, ec);
      return false;
    }
  }
  fs::rename(fresh, file, ec);
  if (ec) {
    fs::remove(fresh, ec);
    return false;
  }
  return true;
}

ReadOutcome LoadStateFile(GameState& s, const fs::path& file) {
  std::error_code ec;
  std::ifstream in;
  if (!fs::is_directory(file, ec)) in.open(file, std::ios::binary);
  if (!in.is_open()) return ReadOutcome{OpenErrorNumber(file), false};
  return ReadState(s, in);
}

bool LoadSavedGame(GameState& s, const fs::path& file) {
  GameState loaded = s;
  const ReadOutcome outcome = LoadStateFile(loaded, file);
  if (outcome.ErrorNumber != 0 || outcome.MatchDropped) return false;
  if (loaded.HandNumber >= 1 && loaded.HandNumber <= kHandLogSize) {
    HandLogEntry& current = loaded.HandLog[loaded.HandNumber];
    current.Text.clear();
    current.PairUnits = {};
    current.PairTens = {};
  }
  s = std::move(loaded);
  return true;
}

}  // namespace tarvelis
