// The history of matches (Historic), opened from the score report. Its window
// is built apart; until it is, this entry point tells the user so.
#pragma once

#include <filesystem>

class QWidget;

namespace tarvelis {

struct GameState;

void OpenHistoryViewer(GameState& state, const std::filesystem::path& dataFolder, QWidget* parent);

}  // namespace tarvelis
