// What a name typed into a seat's field becomes: no leading spaces, every word
// with a capital letter and the rest in small letters, no longer than the
// field allows. The caret stays where the user was typing.
#pragma once

#include <string>

namespace tarvelis {

struct NameEdit {
  std::u32string Text;
  int Caret = 0;
};

// Applied on every change of the field. Characters the files cannot hold
// (controls, and those outside the Windows-1252 letters) are dropped too.
NameEdit ApplyNameRules(const std::u32string& typed, int caret);

// Whether a name may hold `c`.
bool IsNameCharacter(char32_t c);

}  // namespace tarvelis
