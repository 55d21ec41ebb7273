#include "storage/saved_games.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "model/trimmed.h"
#include "storage/file_access.h"
#include "storage/state_file.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;

// Length of the UTF-8 sequence a lead byte opens; 0 for a byte that cannot
// open one.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Walks `text` character by character; false at the first broken sequence.
template <class Visit>
bool ForEachCharacter(std::string_view text, Visit visit) {
  std::size_t i = 0;
  while (i < text.size()) {
    const int n = SequenceLength(static_cast<unsigned char>(text[i]));
    if (n == 0 || i + n > text.size()) return false;
    for (int k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    if (!visit(text.substr(i, n))) return true;
    i += n;
  }
  return true;
}

bool IsControl(std::string_view character) {
  const auto first = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) return first < 0x20 || first == 0x7F;
  // U+0080..U+009F, the second block of control characters.
  return first == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

bool EndsInSavedGameExtension(const std::string& file) {
  const std::size_t n = sizeof(kSavedGameExtension) - 1;
  if (file.size() <= n) return false;
  for (std::size_t k = 0; k < n; ++k) {
    const char c = file[file.size() - n + k];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != kSavedGameExtension[k]) return false;
  }
  return true;
}

std::string StemOf(const std::string& file) {
  return file.substr(0, file.size() - (sizeof(kSavedGameExtension) - 1));
}

// A plain file, or a link to a plain file inside `folder` (as an unpacked
// archive of saved games may hold). A link that leads out of the folder is
// no saved game: loading it would read, and deleting or saving over it
// would be taken to change, a file elsewhere.
bool IsSavedGameFile(const fs::path& folder, const fs::path& file) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(file, ec);
  if (ec) return false;
  if (fs::is_regular_file(status)) return true;
  if (!fs::is_symlink(status)) return false;
  const fs::path target = fs::canonical(file, ec);
  if (ec || !fs::is_regular_file(target, ec)) return false;
  const fs::path home = fs::canonical(folder, ec);
  if (ec) return false;
  const auto [inHome, inTarget] =
      std::mismatch(home.begin(), home.end(), target.begin(), target.end());
  return inHome == home.end() && inTarget != target.end();
}

// Every file of `folder` that is saved game `name`, whatever the capitals of
// its ending; "<name>.man" first when it is there.
std::vector<fs::path> CopiesOf(const fs::path& folder, std::string_view name) {
  std::vector<fs::path> found;
  if (!IsPlainSavedGameName(name)) return found;
  std::error_code ec;
  const fs::path exact = folder / (std::string(name) + kSavedGameExtension);
  if (IsSavedGameFile(folder, exact)) found.push_back(exact);
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (it->path() == exact || !EndsInSavedGameExtension(file) || StemOf(file) != name) continue;
    if (IsSavedGameFile(folder, it->path())) found.push_back(it->path());
  }
  return found;
}

// Upper case for the order of the list only: "ana" and "Ana" sit together.
std::string SortKey(const std::string& name) {
  std::string key;
  key.reserve(name.size());
  ForEachCharacter(name, [&](std::string_view c) {
    if (c.size() == 1 && c[0] >= 'a' && c[0] <= 'z') {
      key += static_cast<char>(c[0] - 'a' + 'A');
    } else {
      key += c;
    }
    return true;
  });
  return key;
}

std::string LoadErrorText(const std::string& name, const ReadOutcome& outcome) {
  if (outcome.ErrorNumber == 53 || outcome.ErrorNumber == 76) {
    return SavedGameMissingMessage(name);
  }
  return SavedGameDamagedMessage(name, outcome.ErrorNumber);
}

}  // namespace

std::string SavedGamesTitle(SavedGamesMode mode) {
  switch (mode) {
    case SavedGamesMode::kLoad:
      return kLoadGameTitle;
    case SavedGamesMode::kSave:
      return kSaveGameTitle;
    case SavedGamesMode::kDelete:
      break;
  }
  return kDeleteGameTitle;
}

std::string SavedGamesMessage(SavedGamesMode mode) {
  switch (mode) {
    case SavedGamesMode::kLoad:
      return kLoadGamePrompt;
    case SavedGamesMode::kSave:
      return kSaveGamePrompt;
    case SavedGamesMode::kDelete:
      break;
  }
  return kDeleteGamePrompt;
}

std::string SavedGameName(std::string_view typed) {
  std::string name;
  int count = 0;
  const bool whole = ForEachCharacter(typed, [&](std::string_view c) {
    if (count == kSavedGameNameChars) return false;
    name += c;
    ++count;
    return true;
  });
  // A broken sequence is kept as typed; IsPlainSavedGameName refuses it.
  if (!whole)
    name =
        std::string(typed.substr(0, std::min<std::size_t>(typed.size(), 4 * kSavedGameNameChars)));
  return Trimmed(name);
}

bool IsPlainSavedGameName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  bool plain = true;
  const bool whole = ForEachCharacter(name, [&](std::string_view c) {
    if (c == "/" || c == "\\" || IsControl(c)) plain = false;
    return plain;
  });
  return whole && plain;
}

std::vector<std::string> ListSavedGames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (!EndsInSavedGameExtension(file) || !IsSavedGameFile(folder, it->path())) continue;
    const std::string name = StemOf(file);
    // A name no action could open is not offered.
    if (IsPlainSavedGameName(name) && SavedGameName(name) == name) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string ka = SortKey(a);
    const std::string kb = SortKey(b);
    return ka != kb ? ka < kb : a < b;
  });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

fs::path FindSavedGame(const fs::path& folder, std::string_view name) {
  std::vector<fs::path> copies = CopiesOf(folder, name);
  return copies.empty() ? fs::path() : std::move(copies.front());
}

SavedGames::SavedGames(SavedGamesMode mode, fs::path folder)
    : mode_(mode), folder_(std::move(folder)), message_(SavedGamesMessage(mode)) {}

void SavedGames::Type(std::string_view text) {
  name_ = SavedGameName(text);
  // A name longer than the box keeps is refused, not cut without a word.
  tooLong_ = name_.size() < TrimmedView(text).size();
  overwritePending_ = deletePending_ = false;
  message_ = SavedGamesMessage(mode_);
  if (tooLong_) {
    message_ = kSavedGameNameTooLong;
  } else if (!name_.empty() && !IsPlainSavedGameName(name_)) {
    message_ = kSavedGameNameNotPlain;
  }
}

bool SavedGames::ActionEnabled() const {
  if (tooLong_ || !IsPlainSavedGameName(name_)) return false;
  if (mode_ == SavedGamesMode::kSave) return true;
  return !FindSavedGame(folder_, name_).empty();
}

SavedGameOutcome SavedGames::CargaMano(GameState& state) {
  error_.clear();
  if (mode_ != SavedGamesMode::kLoad || !ActionEnabled()) return SavedGameOutcome::kRefused;
  GameState loaded = state;
  const ReadOutcome outcome = LoadStateFile(loaded, FindSavedGame(folder_, name_));
  if (outcome.ErrorNumber != 0 || outcome.MatchDropped) {
    error_ = LoadErrorText(name_, outcome);
    return SavedGameOutcome::kFailed;
  }
  state = std::move(loaded);
  return SavedGameOutcome::kDone;
}

SavedGameOutcome SavedGames::GuardaMano(const GameState& state) {
  error_.clear();
  if (mode_ != SavedGamesMode::kSave || !ActionEnabled()) return SavedGameOutcome::kRefused;
  const std::vector<fs::path> old = CopiesOf(folder_, name_);
  if (!old.empty() && !overwritePending_) {
    message_ = kSavedGameExistsMessage;
    overwritePending_ = true;
    return SavedGameOutcome::kConfirmFirst;
  }
  const fs::path file = folder_ / (name_ + kSavedGameExtension);
  // A link of that name is replaced, never written through.
  if (!ReplaceFileNotThroughLink(file, StateFileText(state))) {
    error_ = SavedGameNotWrittenMessage(file.string());
    return SavedGameOutcome::kFailed;
  }
  overwritePending_ = false;
  // The same game under an ending in other capitals is the one just replaced.
  for (const fs::path& copy : old) {
    std::error_code ec;
    if (copy != file) fs::remove(copy, ec);
  }
  return SavedGameOutcome::kDone;
}

SavedGameOutcome SavedGames::Borra() {
  error_.clear();
  if (mode_ != SavedGamesMode::kDelete || !ActionEnabled()) return SavedGameOutcome::kRefused;
  // A deleted game cannot come back: the first press only asks.
  if (!deletePending_) {
    message_ = kSavedGameDeleteConfirm;
    deletePending_ = true;
    return SavedGameOutcome::kConfirmFirst;
  }
  deletePending_ = false;
  message_ = SavedGamesMessage(mode_);
  bool removed = true;
  for (const fs::path& copy : CopiesOf(folder_, name_)) {
    std::error_code ec;
    if (!fs::remove(copy, ec) || ec) removed = false;
  }
  if (!removed) {
    error_ = SavedGameNotDeletedMessage(name_);
    return SavedGameOutcome::kFailed;
  }
  return SavedGameOutcome::kDone;
}

}  // namespace tarvelis
