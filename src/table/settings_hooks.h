// Button 3 of the bar: the settings window over the table, and the table
// brought up to date and the settings saved when it closes.
#pragma once

#include <filesystem>

namespace tarvelis {

class Mesa;
struct GameState;

// True when the user agreed there to leave the match under way, so that a
// new one must start.
bool OpenSettingsWindow(GameState& state, Mesa& mesa, const std::filesystem::path& dataFolder);

// What the table shows again once the settings may have changed: the hands,
// the names, the score, the continue button's name and the pointer.
void BringTableUpToDate(GameState& state, Mesa& mesa);

}  // namespace tarvelis
