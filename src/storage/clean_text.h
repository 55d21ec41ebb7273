// What becomes of a text before it goes into a file: the formats have no room
// for a line break or a control character inside a field (a line break would
// end a history record early; a NUL would cut a name short), and a seat's name
// is never longer than the settings window lets anybody type.
#pragma once

#include <string>
#include <string_view>

namespace tarvelis {

// `utf8` without its control characters (C0, DEL and C1).
std::string WithoutControlCharacters(std::string_view utf8);

// A name read from a file: without control characters and cut to the
// longest name the settings window accepts.
std::string BoundedName(std::string_view utf8);

}  // namespace tarvelis
