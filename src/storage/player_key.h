// The player's own key: 256 random bits the game makes on first use and keeps
// in TARVRED.KEY beside TARVRED.INI. A server's room knows the player by it
// (it keeps only its hash, with the rating), so it is a secret: the file is
// the owner's alone, and the key goes to a server only when entering its
// room. Losing it loses the rating and nothing else.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelis {

inline constexpr const char* kPlayerKeyFileName = "TARVRED.KEY";
inline constexpr std::size_t kPlayerKeyHexDigits = 64;

// The key a file holds: 64 hex digits, lower case, and at most a line end
// after them; anything else is no key.
std::optional<std::string> ParsePlayerKey(std::string_view text);

// 32 bytes from the system's random source, as 64 hex digits; nothing when
// the source cannot be read whole.
std::optional<std::string> NewPlayerKey();

struct PlayerKeyResult {
  std::string Key;  // empty only when no random source answered
  // A line for the log when the file was damaged and replaced, or could not
  // be written (the key then lasts this session only); empty otherwise.
  std::string Note;
};

// The key in `folder`, made and written (0600) when there is none or the one
// there is damaged.
PlayerKeyResult LoadPlayerKey(const std::filesystem::path& folder);

}  // namespace tarvelis
