#include "net/invitation.h"

#include <algorithm>

#include "net/lobby.h"

namespace tarvelis::net {
namespace {

// Longer than any host, port, code and seat together: a longer link is not one.
constexpr std::size_t kLongestLink = 400;
constexpr std::size_t kLongestName = 64;

std::optional<int> SeatOf(std::string_view text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '4') return std::nullopt;
  return text[0] - '0';
}

std::optional<Invitation> Make(std::string_view address, std::string_view code,
                               std::string_view seat) {
  const auto where = ParseServerAddress(address);
  const auto checked = CheckedCode(code);
  const auto n = SeatOf(seat);
  if (!where || !checked || !n || address.find(' ') != std::string_view::npos) {
    return std::nullopt;
  }
  return Invitation{*where, *checked, *n, {}};
}

}  // namespace

std::optional<Invitation> ParseInvitationLink(std::string_view link) {
  if (link.size() > kLongestLink || link.size() <= kInvitationScheme.size()) return std::nullopt;
  // The scheme in any case, as a browser may hand it on.
  for (std::size_t i = 0; i < kInvitationScheme.size(); ++i) {
    char c = link[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kInvitationScheme[i]) return std::nullopt;
  }
  std::string_view rest = link.substr(kInvitationScheme.size());
  if (rest.ends_with('/')) rest.remove_suffix(1);
  const std::size_t second = rest.rfind('/');
  if (second == std::string_view::npos || second == 0) return std::nullopt;
  const std::size_t first = rest.rfind('/', second - 1);
  if (first == std::string_view::npos) return std::nullopt;
  // A link's address is "host:port" and nothing else: no scheme of its own.
  if (rest.substr(0, first).find('/') != std::string_view::npos) return std::nullopt;
  return Make(rest.substr(0, first), rest.substr(first + 1, second - first - 1),
              rest.substr(second + 1));
}

std::optional<Invitation> ParseJoinArguments(const std::vector<std::string>& words) {
  if (words.size() == 1) return ParseInvitationLink(words[0]);
  if (words.size() < 3 || words.size() > 4) return std::nullopt;
  auto invitation = Make(words[0], words[1], words[2]);
  if (!invitation) return std::nullopt;
  // The server cleans the name as it cleans any; here it is only bounded.
  if (words.size() == 4) {
    const std::string& name = words[3];
    const bool control = std::any_of(name.begin(), name.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < ' '; });
    if (name.size() > kLongestName || control) return std::nullopt;
    invitation->Name = name;
  }
  return invitation;
}

std::string InvitationLink(const ServerAddress& address, std::string_view code, int seat) {
  return std::string(kInvitationScheme) + address.Text() + "/" + std::string(code) + "/" +
         std::to_string(seat);
}

}  // namespace tarvelis::net
