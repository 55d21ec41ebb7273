#include "storage/state_file_fields.h"

#include <charconv>

#include "model/trimmed.h"
#include "storage/clean_text.h"
#include "storage/state_file_errors.h"
#include "storage/text_codec.h"

namespace tarvelis {
namespace {

constexpr int kEof = std::char_traits<char>::eof();

bool IsBlank(int c) {
  return c == ' ' || c == '\t';
}
bool IsLineEnd(int c) {
  return c == '\r' || c == '\n';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

enum class Parsed { kNumber, kMissing, kNotANumber };

// A decimal integer with an optional sign. An empty field, or one beyond the
// 16-bit range, counts as missing rather than as an error: one bad number must
// not cost the rest of the file.
Parsed ParseNumber(std::string_view v, int& value) {
  v = TrimmedView(v, " \t");
  if (v.empty()) return Parsed::kMissing;
  bool negative = false;
  if (v.front() == '-' || v.front() == '+') {
    negative = v.front() == '-';
    v.remove_prefix(1);
  }
  if (v.empty()) return Parsed::kNotANumber;
  long magnitude = 0;
  for (char c : v) {
    if (c < '0' || c > '9') return Parsed::kNotANumber;
    if (magnitude <= 32768) magnitude = magnitude * 10 + (c - '0');
  }
  if (negative) magnitude = -magnitude;
  if (magnitude < -32768 || magnitude > 32767) return Parsed::kMissing;
  value = static_cast<int>(magnitude);
  return Parsed::kNumber;
}

}  // namespace

int FieldReader::Peek() const {
  return buf_ ? buf_->sgetc() : kEof;
}
int FieldReader::Take() {
  return buf_ ? buf_->sbumpc() : kEof;
}

// No field of the format is longer than a line of the hand log; the rest of
// an endless field is read past but not kept.
void FieldReader::Keep(int c) {
  if (raw_.size() < kMaxFieldBytes) raw_ += static_cast<char>(c);
}

// Reads the next field into raw_. Leading blanks and line ends are skipped; a
// quoted field runs to the next double quote, an unquoted one to the next
// comma or line end; whatever follows up to that separator is dropped.
bool FieldReader::NextField() {
  if (error_ != 0) return false;
  raw_.clear();
  int c = Peek();
  while (IsBlank(c) || IsLineEnd(c)) {
    Take();
    c = Peek();
  }
  if (c == kEof) {
    Fail(kErrPastEnd);
    return false;
  }
  if (c == '"') {
    Take();
    for (c = Take(); c != kEof && c != '"'; c = Take()) Keep(c);
    for (c = Peek(); c != kEof && c != ',' && !IsLineEnd(c); c = Peek()) Take();
  } else {
    for (; c != kEof && c != ',' && !IsLineEnd(c); c = Peek()) {
      Keep(c);
      Take();
    }
    while (!raw_.empty() && IsBlank(raw_.back())) raw_.pop_back();
  }
  if (c == ',' || c == '\n') {
    Take();
  } else if (c == '\r') {
    Take();
    if (Peek() == '\n') Take();
  }
  return true;
}

bool FieldReader::AtEnd() {
  int c = Peek();
  while (IsBlank(c) || IsLineEnd(c)) {
    Take();
    c = Peek();
  }
  return c == kEof;
}

void FieldReader::Text(std::string& target) {
  if (NextField()) target = Utf8From1252(raw_);
}

void FieldReader::Int(i16& target, i16 missing) {
  if (!NextField()) return;
  int value = 0;
  switch (ParseNumber(raw_, value)) {
    case Parsed::kNumber:
      target = static_cast<i16>(value);
      break;
    case Parsed::kMissing:
      target = missing;
      break;
    case Parsed::kNotANumber:
      Fail(kErrTypeMismatch);
      break;
  }
}

void FieldReader::Bool(bool& target) {
  if (!NextField()) return;
  const std::string_view v = TrimmedView(raw_, " \t");
  if (EqualsIgnoringCase(v, "#TRUE#")) {
    target = true;
    return;
  }
  if (EqualsIgnoringCase(v, "#FALSE#")) {
    target = false;
    return;
  }
  int value = 0;
  switch (ParseNumber(v, value)) {
    case Parsed::kNumber:
      target = value != 0;
      break;
    case Parsed::kMissing:
      target = false;
      break;
    case Parsed::kNotANumber:
      Fail(kErrTypeMismatch);
      break;
  }
}

void FieldWriter::Separate() {
  if (lineStarted_) out_ += ',';
  lineStarted_ = true;
}

// The format has no escape for a double quote or a line break inside a text: a
// quote would end the field early and shift every field after it. A name
// typed with one is therefore written with an apostrophe in its place, and
// line breaks and other control characters are left out.
void FieldWriter::Text(const std::string& utf8) {
  Separate();
  out_ += '"';
  for (char c : Utf8To1252(WithoutControlCharacters(utf8))) out_ += c == '"' ? '\'' : c;
  out_ += '"';
}

void FieldWriter::Int(i16 value, i16 /*missing*/) {
  Separate();
  char digits[8];
  const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<int>(value));
  out_.append(digits, result.ptr);
}

void FieldWriter::Bool(bool value) {
  Separate();
  out_ += value ? "#TRUE#" : "#FALSE#";
}

void FieldWriter::EndLine() {
  out_ += "\r\n";
  lineStarted_ = false;
}

}  // namespace tarvelis
