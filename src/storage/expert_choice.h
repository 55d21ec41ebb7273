// Which computer seats the expert plays and whether the tutor suggests its
// move. The settings file keeps the layout it has always had, line for line,
// so that a file from any earlier version reads as before and this one reads
// in them; the choice lives in a small file of its own beside it instead.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/game_state.h"

namespace tarvelis {

inline constexpr char kExpertFileName[] = "TARVEXP.INI";

// The file's text: "Experto=0,0,0,1" (seats 1 to 4) and "Tutor=1".
std::string ExpertChoiceText(const GameState& state);

// Reads the text into SeatExpert and TutorExpert. Lines it does not know are
// skipped; a line it cannot read leaves its values off, as a missing file does.
void ReadExpertChoiceText(GameState& state, std::string_view text);

// Reads the file in `folder`; a missing or unreadable one chooses nothing.
void LoadExpertChoice(GameState& state, const std::filesystem::path& folder);

// Writes the file in `folder` the same safe way as the settings file. With
// nothing chosen and no file yet, nothing is written. False on failure.
bool SaveExpertChoice(const GameState& state, const std::filesystem::path& folder);

}  // namespace tarvelis
