#include "storage/window_file.h"

#include <charconv>

#include "storage/file_access.h"

namespace tarvelis {
namespace {

constexpr std::size_t kLargestFile = 4096;
// Sizes beyond any screen are a damaged file, not a window.
constexpr int kLargestSide = 32768;
constexpr int kSmallestSide = 200;

bool ReadSide(std::string_view value, int& side) {
  int v = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), v);
  if (error != std::errc() || end != value.data() + value.size()) return false;
  if (v < kSmallestSide || v > kLargestSide) return false;
  side = v;
  return true;
}

}  // namespace

std::string WindowLookText(const WindowLook& look) {
  std::string text;
  text += "Modo=";
  text += look.FullScreen ? "PantallaCompleta" : "Ventana";
  text += "\r\nMesa=";
  text += look.Classic ? "Clasica" : "Ampliada";
  text += "\r\n";
  if (look.Width > 0 && look.Height > 0) {
    text += "Ancho=" + std::to_string(look.Width) + "\r\n";
    text += "Alto=" + std::to_string(look.Height) + "\r\n";
  }
  return text;
}

WindowLook ParseWindowLook(std::string_view text) {
  WindowLook look;
  int width = 0;
  int height = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    if (key == "Modo" && (value == "PantallaCompleta" || value == "Ventana")) {
      look.FullScreen = value == "PantallaCompleta";
    } else if (key == "Mesa" && (value == "Clasica" || value == "Ampliada")) {
      look.Classic = value == "Clasica";
    } else if (key == "Ancho") {
      ReadSide(value, width);
    } else if (key == "Alto") {
      ReadSide(value, height);
    }
  }
  // A size is a pair: half of one is no size at all.
  if (width > 0 && height > 0) {
    look.Width = width;
    look.Height = height;
  }
  return look;
}

WindowLook ReadWindowLook(const std::filesystem::path& folder) {
  const FileBytes file = ReadRegularFile(folder / kWindowFileName, kLargestFile);
  if (file.ErrorNumber != 0) return WindowLook{};
  return ParseWindowLook(file.Bytes);
}

bool WriteWindowLook(const std::filesystem::path& folder, const WindowLook& look) {
  // Written as the window is resized: the file is replaced whole, and only
  // when it would say something new.
  const std::string text = WindowLookText(look);
  const FileBytes file = ReadRegularFile(folder / kWindowFileName, kLargestFile);
  if (file.ErrorNumber == 0 && file.Bytes == text) return true;
  return ReplaceFile(folder / kWindowFileName, text);
}

}  // namespace tarvelis
