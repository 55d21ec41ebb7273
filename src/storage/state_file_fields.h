// Field-by-field reading and writing of the settings-and-state format: texts in
// double quotes, decimal integers, #TRUE# and #FALSE#, commas between fields and
// CR LF after each line. The reader works like the BASIC statement the format
// comes from: it reads field after field and treats a line end like a comma, so
// only the order of the fields binds, never the line structure.
#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "model/game_state.h"

namespace tarvelis {

// The value a numeric field takes when it is empty or holds a number beyond
// 16 bits, for the fields that the load repairs: it lies outside every range
// the repairs accept, so the field ends up with its repair default.
inline constexpr i16 kRepairMe = -32768;

class FieldReader {
 public:
  explicit FieldReader(std::istream& in) : buf_(in.rdbuf()) {}

  // Once a read has failed every later read leaves its target untouched, so a
  // damaged file keeps what was read before the damage and nothing after it.
  void Text(std::string& target);
  void Int(i16& target, i16 missing = 0);
  void Bool(bool& target);
  void EndLine() {}
  // True when nothing but blanks and line ends is left to read.
  bool AtEnd();

  int Error() const { return error_; }
  void Fail(int error) {
    if (error_ == 0) error_ = error;
  }

 private:
  static constexpr std::size_t kMaxFieldBytes = 1024;

  bool NextField();
  void Keep(int c);
  int Peek() const;
  int Take();

  std::streambuf* buf_;
  std::string raw_;  // the last field, undecoded
  int error_ = 0;
};

class FieldWriter {
 public:
  explicit FieldWriter(std::string& out) : out_(out) {}

  void Text(const std::string& utf8);
  void Int(i16 value, i16 missing = 0);
  void Bool(bool value);
  void EndLine();

 private:
  void Separate();

  std::string& out_;
  bool lineStarted_ = false;
};

}  // namespace tarvelis
