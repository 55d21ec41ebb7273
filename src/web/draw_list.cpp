#include "web/draw_list.h"

#include "model/utf8_text.h"

namespace tarvelis::web {

int StripOf(Strip s) {
  switch (s) {
    case Strip::Dibujos:
      return static_cast<int>(WebStrip::Dibujos);
    case Strip::PunNeg:
      return static_cast<int>(WebStrip::PunNeg);
    case Strip::Puntitos:
      return static_cast<int>(WebStrip::Puntitos);
    case Strip::Manos:
      return static_cast<int>(WebStrip::Manos);
  }
  return 0;
}

std::vector<std::string> Wrapped(const std::string& raw, std::size_t chars) {
  // The game's messages end their lines with CR LF.
  std::string text;
  for (const char c : raw)
    if (c != '\r') text += c;
  std::vector<std::string> lines;
  std::string line;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(" \n", start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() &&
        static_cast<std::size_t>(Utf8Length(line) + 1 + Utf8Length(word)) > chars) {
      lines.push_back(line);
      line.clear();
    }
    if (!word.empty()) line += (line.empty() ? "" : " ") + word;
    if (end < text.size() && text[end] == '\n') {
      lines.push_back(line);
      line.clear();
    }
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace tarvelis::web
