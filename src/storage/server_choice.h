// The table server the player last created or joined a table on, offered
// again the next time, with what the network window showed last. TARVE32.INI
// has a fixed number of fields (older copies of the game read it), so these
// live in a small file of their own beside it, replaced whole on each write.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelis {

inline constexpr const char* kServerFileName = "TARVRED.INI";

// The last table whose match this game played, until that match ends: the
// seat's token is the way back to it after the game stopped or the player
// left it.
struct KeptTable {
  std::string Address;  // as ParseServerAddress reads it
  std::string Code;
  int Seat = 0;
  std::string Token;
};

// The network window as it was last closed: its page, the code typed on the
// join page and the name.
struct NetworkWindowMemory {
  bool Joining = false;
  std::string Code;
  std::string Name;  // UTF-8
  bool operator==(const NetworkWindowMemory&) const = default;
};

// The whole file: "Servidor=host:port", "Mesa=address code seat token" when
// a table is kept, "Pagina=unirse" or "Pagina=crear", "Codigo=" and
// "Nombre=", "Silenciados=" with the tags of the people muted in a server's room, separated by
// blanks, and "Charla=oculta" while the table's chat is hidden. Only printable ASCII is read, but
// in the name, which may be any UTF-8 without control characters; a field that is not gives ""
// or nothing.
struct ServerFile {
  std::string Address;
  std::optional<KeptTable> Table;
  NetworkWindowMemory Window;
  std::string Mutes;
  bool ChatHidden = false;  // the chat of a networked table was hidden
};
std::string ServerFileText(const ServerFile& file);
ServerFile ParseServerFile(std::string_view text);
ServerFile ReadServerFile(const std::filesystem::path& folder);
bool WriteServerFile(const std::filesystem::path& folder, const ServerFile& file);

std::string ServerChoiceText(std::string_view address,
                             const std::optional<KeptTable>& table = std::nullopt);
std::string ParseServerChoice(std::string_view text);
std::optional<KeptTable> ParseKeptTable(std::string_view text);

std::string ReadServerChoice(const std::filesystem::path& folder);
std::optional<KeptTable> ReadKeptTable(const std::filesystem::path& folder);
NetworkWindowMemory ReadNetworkWindowMemory(const std::filesystem::path& folder);
// Each keeps what the others wrote.
bool WriteServerChoice(const std::filesystem::path& folder, std::string_view address);
bool WriteKeptTable(const std::filesystem::path& folder, const std::optional<KeptTable>& table);
bool WriteNetworkWindowMemory(const std::filesystem::path& folder,
                              const NetworkWindowMemory& memory);
bool ReadChatHidden(const std::filesystem::path& folder);
bool WriteChatHidden(const std::filesystem::path& folder, bool hidden);

}  // namespace tarvelis
