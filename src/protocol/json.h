// A small JSON reader and writer for the table server's messages. Plain C++
// so the reader can be fuzzed and tested without Qt. The reader is strict and
// bounded: a text longer than the limit, nested deeper than the limit, or not
// valid UTF-8 in its strings is refused before anything is built from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvelis::server {

class Json {
 public:
  enum class Kind : std::uint8_t { kNull, kBool, kNumber, kString, kArray, kObject };

  Json() = default;
  static Json Bool(bool b);
  static Json Number(double n);
  static Json String(std::string s);
  static Json Array();
  static Json Object();

  Kind kind() const { return kind_; }
  bool IsObject() const { return kind_ == Kind::kObject; }
  bool IsArray() const { return kind_ == Kind::kArray; }
  bool IsString() const { return kind_ == Kind::kString; }
  bool IsBool() const { return kind_ == Kind::kBool; }
  bool IsNumber() const { return kind_ == Kind::kNumber; }

  bool AsBool() const { return bool_; }
  double AsNumber() const { return number_; }
  const std::string& AsString() const { return string_; }
  const std::vector<Json>& Items() const { return items_; }
  const std::vector<std::pair<std::string, Json>>& Members() const { return members_; }

  // The member called `key` of an object; null when absent or not an object.
  const Json* Find(std::string_view key) const;
  // A whole number in [lo, hi] at `key`, or nothing.
  std::optional<int> IntAt(std::string_view key, int lo, int hi) const;
  // A string at `key` of at most `maxBytes` bytes, or nothing.
  std::optional<std::string> StringAt(std::string_view key, std::size_t maxBytes) const;

  // Builders; they return *this so a message reads as one expression.
  Json& Set(std::string key, Json value);
  Json& Set(std::string key, int value) { return Set(std::move(key), Number(value)); }
  Json& Set(std::string key, const char* value) { return Set(std::move(key), String(value)); }
  Json& Set(std::string key, std::string value) {
    return Set(std::move(key), String(std::move(value)));
  }
  Json& Push(Json value);

  std::string Dump() const;

 private:
  void DumpTo(std::string& out) const;

  Kind kind_ = Kind::kNull;
  bool bool_ = false;
  double number_ = 0;
  std::string string_;
  std::vector<Json> items_;
  std::vector<std::pair<std::string, Json>> members_;
};

struct JsonLimits {
  std::size_t MaxBytes = 4096;
  int MaxDepth = 8;
  std::size_t MaxItems = 64;  // elements of one array or members of one object
};

// The value of `text`, or nothing when it is not one well-formed JSON value
// within the limits.
std::optional<Json> ParseJson(std::string_view text, const JsonLimits& limits = {});

// A pair of pips as [a, b].
Json TileJson(int a, int b);

}  // namespace tarvelis::server
