#include "storage/server_choice.h"

#include <algorithm>
#include <sstream>

#include "storage/file_access.h"

namespace tarvelis {
namespace {

constexpr std::size_t kLargestFile = 4096;
// A host name is at most 253 characters; with a scheme and a port, less than this.
constexpr std::size_t kLongestAddress = 300;
constexpr std::string_view kKey = "Servidor=";
constexpr std::string_view kTableKey = "Mesa=";
constexpr std::string_view kPageKey = "Pagina=";
constexpr std::string_view kCodeKey = "Codigo=";
constexpr std::string_view kNameKey = "Nombre=";
constexpr std::string_view kMutesKey = "Silenciados=";
// A hundred tags of sixteen characters with their blanks.
constexpr std::size_t kLongestMutes = 1700;
constexpr std::string_view kChatKey = "Charla=";
constexpr std::string_view kChatHidden = "oculta";
constexpr std::string_view kJoinPage = "unirse";
constexpr std::string_view kCreatePage = "crear";
constexpr std::size_t kLongestToken = 64;
constexpr std::size_t kLongestCode = 16;
// The game's longest name is shorter; a name is cut to it when shown.
constexpr std::size_t kLongestName = 64;

bool Printable(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 127; });
}

// A name may hold blanks and any UTF-8, but no control character: it is one line.
bool NameText(std::string_view text) {
  return text.size() <= kLongestName && std::none_of(text.begin(), text.end(), [](char c) {
           return static_cast<unsigned char>(c) < ' ' || c == 127;
         });
}

// The value of the first line starting with `key`; nothing without one.
std::optional<std::string_view> ValueOf(std::string_view text, std::string_view key) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with(key)) return line.substr(key.size());
  }
  return std::nullopt;
}

// Tags and the blanks between them.
bool MutesText(std::string_view text) {
  return text.size() <= kLongestMutes &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c < 127; });
}

bool Keepable(const KeptTable& t) {
  const auto word = [](const std::string& w, std::size_t longest) {
    return !w.empty() && w.size() <= longest && Printable(w);
  };
  return word(t.Address, kLongestAddress) && word(t.Code, kLongestCode) &&
         word(t.Token, kLongestToken) && t.Seat >= 1 && t.Seat <= 4;
}

NetworkWindowMemory ParseMemory(std::string_view text) {
  NetworkWindowMemory m;
  m.Joining = ValueOf(text, kPageKey) == kJoinPage;
  const auto code = ValueOf(text, kCodeKey);
  if (code && code->size() <= kLongestCode && Printable(*code)) m.Code = std::string(*code);
  const auto name = ValueOf(text, kNameKey);
  if (name && NameText(*name)) m.Name = std::string(*name);
  return m;
}

}  // namespace

std::string ServerFileText(const ServerFile& file) {
  std::string text;
  if (file.Address.size() <= kLongestAddress && Printable(file.Address)) {
    text = std::string(kKey) + file.Address + "\r\n";
  } else {
    text = std::string(kKey) + "\r\n";
  }
  if (file.Table && Keepable(*file.Table)) {
    const KeptTable& t = *file.Table;
    text += std::string(kTableKey) + t.Address + " " + t.Code + " " + std::to_string(t.Seat) + " " +
            t.Token + "\r\n";
  }
  if (!file.Mutes.empty() && MutesText(file.Mutes)) {
    text += std::string(kMutesKey) + file.Mutes + "\r\n";
  }
  if (file.ChatHidden) text += std::string(kChatKey) + std::string(kChatHidden) + "\r\n";
  const NetworkWindowMemory& m = file.Window;
  // A window never opened leaves nothing to remember.
  if (m == NetworkWindowMemory{}) return text;
  text += std::string(kPageKey) + std::string(m.Joining ? kJoinPage : kCreatePage) + "\r\n";
  if (m.Code.size() <= kLongestCode && Printable(m.Code)) {
    text += std::string(kCodeKey) + m.Code + "\r\n";
  }
  if (NameText(m.Name)) text += std::string(kNameKey) + m.Name + "\r\n";
  return text;
}

ServerFile ParseServerFile(std::string_view text) {
  ServerFile file{ParseServerChoice(text), ParseKeptTable(text), ParseMemory(text), {}};
  const auto mutes = ValueOf(text, kMutesKey);
  if (mutes && MutesText(*mutes)) file.Mutes = std::string(*mutes);
  file.ChatHidden = ValueOf(text, kChatKey) == kChatHidden;
  return file;
}

ServerFile ReadServerFile(const std::filesystem::path& folder) {
  const FileBytes file = ReadRegularFile(folder / kServerFileName, kLargestFile);
  return file.ErrorNumber == 0 ? ParseServerFile(file.Bytes) : ServerFile{};
}

bool WriteServerFile(const std::filesystem::path& folder, const ServerFile& file) {
  return ReplaceFile(folder / kServerFileName, ServerFileText(file));
}

std::string ServerChoiceText(std::string_view address, const std::optional<KeptTable>& table) {
  return ServerFileText(ServerFile{std::string(address), table, {}, {}});
}

std::string ParseServerChoice(std::string_view text) {
  const auto line = ValueOf(text, kKey);
  if (line && line->size() <= kLongestAddress && Printable(*line)) return std::string(*line);
  return {};
}

std::optional<KeptTable> ParseKeptTable(std::string_view text) {
  const auto line = ValueOf(text, kTableKey);
  if (!line || line->size() > 512) return std::nullopt;
  std::istringstream in{std::string(*line)};
  KeptTable t;
  std::string rest;
  if (!(in >> t.Address >> t.Code >> t.Seat >> t.Token) || (in >> rest) || !Keepable(t)) {
    return std::nullopt;
  }
  return t;
}

std::string ReadServerChoice(const std::filesystem::path& folder) {
  return ReadServerFile(folder).Address;
}

std::optional<KeptTable> ReadKeptTable(const std::filesystem::path& folder) {
  return ReadServerFile(folder).Table;
}

NetworkWindowMemory ReadNetworkWindowMemory(const std::filesystem::path& folder) {
  return ReadServerFile(folder).Window;
}

bool WriteServerChoice(const std::filesystem::path& folder, std::string_view address) {
  if (address.size() > kLongestAddress || !Printable(address)) return false;
  ServerFile file = ReadServerFile(folder);
  file.Address = std::string(address);
  return WriteServerFile(folder, file);
}

bool WriteKeptTable(const std::filesystem::path& folder, const std::optional<KeptTable>& table) {
  ServerFile file = ReadServerFile(folder);
  file.Table = table;
  return WriteServerFile(folder, file);
}

bool WriteNetworkWindowMemory(const std::filesystem::path& folder,
                              const NetworkWindowMemory& memory) {
  ServerFile file = ReadServerFile(folder);
  file.Window = memory;
  return WriteServerFile(folder, file);
}

bool ReadChatHidden(const std::filesystem::path& folder) {
  return ReadServerFile(folder).ChatHidden;
}

bool WriteChatHidden(const std::filesystem::path& folder, bool hidden) {
  ServerFile file = ReadServerFile(folder);
  file.ChatHidden = hidden;
  return WriteServerFile(folder, file);
}

}  // namespace tarvelis
