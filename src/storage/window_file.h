// How the table window was last shown: full screen or a window of a given
// size, and whether the table is blown up to fill it or kept at the classic
// one pixel per table pixel. TARVE32.INI has no field for this (its fields are
// fixed in number and order, and older copies of the game read it), so it is
// kept in a small file of its own beside it, replaced whole on every write.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvelis {

inline constexpr const char* kWindowFileName = "TARVE32.VEN";

struct WindowLook {
  bool FullScreen = true;
  bool Classic = false;  // one table pixel per screen pixel, however large the screen
  int Width = 0;         // the window's size when not full screen; 0 for none yet
  int Height = 0;
  bool operator==(const WindowLook&) const = default;
};

// "Clave=valor" lines, CR LF ended. The reader takes what it recognises and
// keeps the defaults for anything missing, damaged or out of range.
std::string WindowLookText(const WindowLook& look);
WindowLook ParseWindowLook(std::string_view text);

WindowLook ReadWindowLook(const std::filesystem::path& folder);
bool WriteWindowLook(const std::filesystem::path& folder, const WindowLook& look);

}  // namespace tarvelis
