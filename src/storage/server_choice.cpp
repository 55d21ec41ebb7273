#include "storage/server_choice.h"

#include <algorithm>

#include "storage/file_access.h"

namespace tarvelis {
namespace {

constexpr std::size_t kLargestFile = 1024;
// A host name is at most 253 characters; with a scheme and a port, less than this.
constexpr std::size_t kLongestAddress = 300;
constexpr std::string_view kKey = "Servidor=";

bool Printable(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 127; });
}

}  // namespace

std::string ServerChoiceText(std::string_view address) {
  return std::string(kKey) + std::string(address) + "\r\n";
}

std::string ParseServerChoice(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.starts_with(kKey)) continue;
    line.remove_prefix(kKey.size());
    if (line.size() <= kLongestAddress && Printable(line)) return std::string(line);
    return {};
  }
  return {};
}

std::string ReadServerChoice(const std::filesystem::path& folder) {
  const FileBytes file = ReadRegularFile(folder / kServerFileName, kLargestFile);
  return file.ErrorNumber == 0 ? ParseServerChoice(file.Bytes) : std::string();
}

bool WriteServerChoice(const std::filesystem::path& folder, std::string_view address) {
  if (address.size() > kLongestAddress || !Printable(address)) return false;
  return ReplaceFile(folder / kServerFileName, ServerChoiceText(address));
}

}  // namespace tarvelis
