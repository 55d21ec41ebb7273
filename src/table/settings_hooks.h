// Button 3 of the bar: the settings window over the table, and the table
// brought up to date and the settings saved when it closes.
#pragma once

#include <filesystem>

namespace tarvelis {

class Mesa;
struct GameState;

void OpenSettingsWindow(GameState& state, Mesa& mesa, const std::filesystem::path& dataFolder);

// What the table shows again once the settings may have changed: the hands,
// the names, the score, the continue button's name and the pointer.
void BringTableUpToDate(GameState& state, Mesa& mesa);

}  // namespace tarvelis
