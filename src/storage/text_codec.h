// Text lives in the program as UTF-8 and on disk in the Windows-1252 code page,
// so that an accented letter of a name stays one byte in the files the game has
// always written. These are the two conversions and the case rule of names.
#pragma once

#include <string>
#include <string_view>

#include "model/letter_case.h"

namespace tarvelis {

// Bytes in Windows-1252 to UTF-8. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
// the same number, so that they come back unchanged when written again.
std::string Utf8From1252(std::string_view bytes);

// UTF-8 to Windows-1252. A character the code page cannot hold, and every byte
// of a broken UTF-8 sequence, becomes '?'.
std::string Utf8To1252(std::string_view utf8);

// The first character and every character after a space in upper case, every
// other character in lower case; spaces are kept as they are.
std::string CapitaliseWords(std::string_view utf8);

}  // namespace tarvelis
