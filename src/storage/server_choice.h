// The table server the player last created or joined a table on, offered
// again the next time. TARVE32.INI has a fixed number of fields (older copies
// of the game read it), so the address lives in a small file of its own
// beside it, replaced whole on each write.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvelis {

inline constexpr const char* kServerFileName = "TARVRED.INI";

// "Servidor=host:port". Only the address as the player typed it is kept; the
// reader takes printable ASCII alone and gives "" for anything else.
std::string ServerChoiceText(std::string_view address);
std::string ParseServerChoice(std::string_view text);

std::string ReadServerChoice(const std::filesystem::path& folder);
bool WriteServerChoice(const std::filesystem::path& folder, std::string_view address);

}  // namespace tarvelis
