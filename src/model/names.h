// How long a seat's name may be. The settings field takes no more, and names
// read from a file are cut to it; the history file keeps only the first nine.
#pragma once

namespace tarvelis {

inline constexpr int kMaxNameLength = 20;

}  // namespace tarvelis
