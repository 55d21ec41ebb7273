// The table server the player last created or joined a table on, offered
// again the next time. TARVE32.INI has a fixed number of fields (older copies
// of the game read it), so the address lives in a small file of its own
// beside it, replaced whole on each write.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelis {

inline constexpr const char* kServerFileName = "TARVRED.INI";

// The last table whose match this game played, until that match ends or is
// left: the seat's token is the way back to it after the game stopped.
struct KeptTable {
  std::string Address;  // as ParseServerAddress reads it
  std::string Code;
  int Seat = 0;
  std::string Token;
};

// "Servidor=host:port", then "Mesa=address code seat token" when a table is
// kept. Only printable ASCII is read; a field that is not gives "" or nothing.
std::string ServerChoiceText(std::string_view address,
                             const std::optional<KeptTable>& table = std::nullopt);
std::string ParseServerChoice(std::string_view text);
std::optional<KeptTable> ParseKeptTable(std::string_view text);

std::string ReadServerChoice(const std::filesystem::path& folder);
std::optional<KeptTable> ReadKeptTable(const std::filesystem::path& folder);
// Each keeps what the other wrote.
bool WriteServerChoice(const std::filesystem::path& folder, std::string_view address);
bool WriteKeptTable(const std::filesystem::path& folder, const std::optional<KeptTable>& table);

}  // namespace tarvelis
