// What the program's arguments ask for: the table to join, given as the words
// after "--join" or as a lone "tarvelis://" link (what the desktop passes when
// an invitation is clicked).
#pragma once

#include <QStringList>

namespace tarvelis {

// The words to join with (those after "--join", or the link); none when the
// arguments ask for no table. "--join" with nothing after it gives one empty
// word, so that the player is told how to write it.
QStringList JoinWordsOf(const QStringList& arguments);

}  // namespace tarvelis
