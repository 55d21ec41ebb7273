#include "storage/state_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

#include "model/board_geometry.h"
#include "model/consistency.h"
#include "model/move_rules.h"
#include "storage/clean_text.h"
#include "storage/file_access.h"
#include "storage/history_file.h"
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
// holder of that double leads and is the one to move. A leader the players
// chose themselves ("Elegir en cada juego") keeps the turn: the double six is
// not forced then.
void SixDoubleHolderToMove(GameState& s) {
  if (!s.HandInProgress || s.MoveNumber != 1 || !SixDoubleForced(s)) return;
  const int holder = s.DoubleHolder[6];
  if (Within(holder, 1, kSeats)) s.CurrentSeat = s.LeadSeat = static_cast<i16>(holder);
}

// Lays every tile of the record again on this state's table, as the play
// laid them: a match saved on a screen of another size is drawn where this
// table can show it.
void LayChainAgain(GameState& s) {
  const GameState saved = s;
  ResetChainCursors(s);
  for (int n = 1; n < saved.MoveNumber; ++n) {
    MoveEntry& e = s.MoveRecord[n];
    if (e[kFEnd] != 1 && e[kFEnd] != 2) continue;
    s.MoveNumber = static_cast<i16>(n);
    s.PlayEnd = e[kFEnd];
    s.PlayPipA = e[kFPipA];
    s.PlayPipB = e[kFPipB];
    s.PlayIsDouble = e[kFIsDouble] == 1;
    LayTile(s, e);
  }
  s.MoveNumber = saved.MoveNumber;
  s.PlayEnd = saved.PlayEnd;
  s.PlayPipA = saved.PlayPipA;
  s.PlayPipB = saved.PlayPipB;
  s.PlayIsDouble = saved.PlayIsDouble;
}

// Between two hands of a match the file counts the hand to come, so the hand
// just finished is among the finished hands whose log lines are written, and
// the reader, taking one off, finds the match exactly as it was left.
bool BetweenHands(const GameState& s) {
  return s.MatchInProgress && !s.HandInProgress && s.HandNumber >= 1;
}

}  // namespace

std::string StateFileText(const GameState& s, std::string_view pendingRecord) {
  std::string text;
  text.reserve(8192);
  FieldWriter w(text);
  layout::SettingsLine(w, s);
  if (BetweenHands(s)) {
    GameState counted = s;
    counted.HandNumber = static_cast<i16>(s.HandNumber + 1);
    layout::MatchLine(w, counted);
  } else {
    layout::MatchLine(w, s);
  }
  const int hands = std::min<int>(BetweenHands(s) ? s.HandNumber : s.HandNumber - 1, kHandLogSize);
  for (int h = 1; h <= hands; ++h) layout::LogLine(w, s.HandLog[h]);
  layout::EndLines(w, s);
  for (int seat = 1; seat <= kSeats; ++seat) layout::SeatBlock(w, s, seat);
  layout::DoubleLines(w, s);
  const int moves = std::min<int>(s.MoveNumber - 1, static_cast<int>(s.MoveRecord.size()) - 1);
  for (int n = 1; n <= moves; ++n) layout::MoveLine(w, s.MoveRecord[n]);
  if (!pendingRecord.empty()) {
    w.Text(Utf8From1252(pendingRecord));
    w.EndLine();
  }
  return text;
}

void WriteState(const GameState& s, std::ostream& out) {
  const std::string text = StateFileText(s);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void RepairLoadedSettings(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    s.SeatName[seat] = CapitaliseWords(BoundedName(s.SeatName[seat]));
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
  // Totals stop at kTotalCap: a higher target would keep a match going for ever.
  if (s.MatchTarget > kTotalCap) s.MatchTarget = kTotalCap;
  if (!Within(s.GameSpeed, 0, 100)) s.GameSpeed = 50;
  if (s.DirectionStep != 1 && s.DirectionStep != -1) SyncDirectionStep(s);
}

std::string ResumeFault(GameState& s) {
  RecomputeTotalsFromLog(s);
  CheckOptions options;
  options.FinishedHand = false;
  std::vector<std::string> faults = CheckState(s, options);
  if (!faults.empty() && s.HandInProgress) {
    CheckOptions shapesOnly = options;
    shapesOnly.TilePositions = false;
    if (CheckState(s, shapesOnly).empty()) {
      LayChainAgain(s);
      faults = CheckState(s, options);
    }
  }
  return faults.empty() ? std::string() : faults.front();
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
  if (r.Error() == 0 && BetweenHands(s)) s.HandNumber = static_cast<i16>(s.HandNumber - 1);

  // A half-read file, or a match that contradicts itself, is not resumed.
  ReadOutcome outcome;
  outcome.ErrorNumber = r.Error();
  if (outcome.ErrorNumber == 0 && (s.MatchInProgress || s.HandInProgress)) {
    SixDoubleHolderToMove(s);
    outcome.Fault = ResumeFault(s);
  }
  if (outcome.ErrorNumber != 0 || !outcome.Fault.empty()) {
    outcome.MatchDropped = s.MatchInProgress || s.HandInProgress;
    s.MatchInProgress = false;
    s.HandInProgress = false;
  }
  if (!s.MatchInProgress) {
    // No match, no points: the totals are the log's, as for a kept match.
    ClearHandLog(s);
    RecomputeTotalsFromLog(s);
  }
  // What follows a whole state is a pending history record, taken only when
  // it is one: anything else there is left alone, as before.
  if (r.Error() == 0 && !r.AtEnd()) {
    std::string text;
    r.Text(text);
    const std::string record = Utf8To1252(text);
    const std::vector<HistoryMatch> parsed = ParseHistory(record);
    if (r.Error() == 0 && parsed.size() == 1 && parsed[0].Text == record) {
      outcome.PendingRecord = record;
    }
  }
  return outcome;
}

bool WriteAndClose(std::ofstream& out, std::string_view bytes) {
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  const bool written = out.good();
  out.close();
  return written && !out.fail();
}

bool SaveStateFile(const GameState& s, const fs::path& file, std::string_view pendingRecord) {
  return ReplaceFile(file, StateFileText(s, pendingRecord));
}

ReadOutcome LoadStateFile(GameState& s, const fs::path& file) {
  FileBytes read = ReadRegularFile(file, kMaxStateFileBytes);
  if (read.ErrorNumber != 0) {
    ReadOutcome failed;
    failed.ErrorNumber = read.ErrorNumber;
    return failed;
  }
  // An editor that saved the file as UTF-8 may put a byte order mark first;
  // it would otherwise become part of seat 1's name.
  if (read.Bytes.starts_with("\xEF\xBB\xBF")) read.Bytes.erase(0, 3);
  std::istringstream in(read.Bytes);
  ReadOutcome outcome = ReadState(s, in);
  outcome.Opened = true;
  return outcome;
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
