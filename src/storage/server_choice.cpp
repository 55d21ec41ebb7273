#include "storage/server_choice.h"

#include <algorithm>
#include <sstream>

#include "storage/file_access.h"

namespace tarvelis {
namespace {

constexpr std::size_t kLargestFile = 1024;
// A host name is at most 253 characters; with a scheme and a port, less than this.
constexpr std::size_t kLongestAddress = 300;
constexpr std::string_view kKey = "Servidor=";
constexpr std::string_view kTableKey = "Mesa=";
constexpr std::size_t kLongestToken = 64;

bool Printable(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 127; });
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

bool Keepable(const KeptTable& t) {
  const auto word = [](const std::string& w, std::size_t longest) {
    return !w.empty() && w.size() <= longest && Printable(w);
  };
  return word(t.Address, kLongestAddress) && word(t.Code, 16) && word(t.Token, kLongestToken) &&
         t.Seat >= 1 && t.Seat <= 4;
}

}  // namespace

std::string ServerChoiceText(std::string_view address, const std::optional<KeptTable>& table) {
  std::string text = std::string(kKey) + std::string(address) + "\r\n";
  if (table && Keepable(*table)) {
    text += std::string(kTableKey) + table->Address + " " + table->Code + " " +
            std::to_string(table->Seat) + " " + table->Token + "\r\n";
  }
  return text;
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
  const FileBytes file = ReadRegularFile(folder / kServerFileName, kLargestFile);
  return file.ErrorNumber == 0 ? ParseServerChoice(file.Bytes) : std::string();
}

std::optional<KeptTable> ReadKeptTable(const std::filesystem::path& folder) {
  const FileBytes file = ReadRegularFile(folder / kServerFileName, kLargestFile);
  return file.ErrorNumber == 0 ? ParseKeptTable(file.Bytes) : std::nullopt;
}

bool WriteServerChoice(const std::filesystem::path& folder, std::string_view address) {
  if (address.size() > kLongestAddress || !Printable(address)) return false;
  return ReplaceFile(folder / kServerFileName, ServerChoiceText(address, ReadKeptTable(folder)));
}

bool WriteKeptTable(const std::filesystem::path& folder, const std::optional<KeptTable>& table) {
  return ReplaceFile(folder / kServerFileName, ServerChoiceText(ReadServerChoice(folder), table));
}

}  // namespace tarvelis
