#include "protocol/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/utf8_text.h"

namespace tarvelis::server {

Json Json::Bool(bool b) {
  Json j;
  j.kind_ = Kind::kBool;
  j.bool_ = b;
  return j;
}

Json Json::Number(double n) {
  Json j;
  j.kind_ = Kind::kNumber;
  j.number_ = n;
  return j;
}

Json Json::String(std::string s) {
  Json j;
  j.kind_ = Kind::kString;
  j.string_ = std::move(s);
  return j;
}

Json Json::Array() {
  Json j;
  j.kind_ = Kind::kArray;
  return j;
}

Json Json::Object() {
  Json j;
  j.kind_ = Kind::kObject;
  return j;
}

const Json* Json::Find(std::string_view key) const {
  if (kind_ != Kind::kObject) return nullptr;
  for (const auto& [name, value] : members_) {
    if (name == key) return &value;
  }
  return nullptr;
}

std::optional<int> Json::IntAt(std::string_view key, int lo, int hi) const {
  const Json* v = Find(key);
  if (v == nullptr || !v->IsNumber()) return std::nullopt;
  const double n = v->number_;
  if (!(n >= lo && n <= hi) || std::floor(n) != n) return std::nullopt;
  return static_cast<int>(n);
}

std::optional<std::string> Json::StringAt(std::string_view key, std::size_t maxBytes) const {
  const Json* v = Find(key);
  if (v == nullptr || !v->IsString() || v->string_.size() > maxBytes) return std::nullopt;
  return v->string_;
}

Json& Json::Set(std::string key, Json value) {
  kind_ = Kind::kObject;
  for (auto& [name, old] : members_) {
    if (name == key) {
      old = std::move(value);
      return *this;
    }
  }
  members_.emplace_back(std::move(key), std::move(value));
  return *this;
}

Json& Json::Push(Json value) {
  kind_ = Kind::kArray;
  items_.push_back(std::move(value));
  return *this;
}

namespace {

void DumpString(const std::string& s, std::string& out) {
  out += '"';
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", u);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

class Parser {
 public:
  Parser(std::string_view text, const JsonLimits& limits) : t_(text), limits_(limits) {}

  std::optional<Json> Run() {
    Json value;
    if (!Value(value, 0)) return std::nullopt;
    Space();
    if (p_ != t_.size()) return std::nullopt;
    return value;
  }

 private:
  void Space() {
    while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\t' || t_[p_] == '\n' || t_[p_] == '\r'))
      ++p_;
  }

  bool Literal(std::string_view word) {
    if (t_.substr(p_, word.size()) != word) return false;
    p_ += word.size();
    return true;
  }

  bool Value(Json& out, int depth) {
    if (depth > limits_.MaxDepth) return false;
    Space();
    if (p_ >= t_.size()) return false;
    const char c = t_[p_];
    if (c == '{') return ObjectValue(out, depth);
    if (c == '[') return ArrayValue(out, depth);
    if (c == '"') {
      std::string s;
      if (!StringValue(s)) return false;
      out = Json::String(std::move(s));
      return true;
    }
    if (Literal("true")) {
      out = Json::Bool(true);
      return true;
    }
    if (Literal("false")) {
      out = Json::Bool(false);
      return true;
    }
    if (Literal("null")) {
      out = Json();
      return true;
    }
    return NumberValue(out);
  }

  bool NumberValue(Json& out) {
    const std::size_t start = p_;
    if (p_ < t_.size() && t_[p_] == '-') ++p_;
    auto digits = [&] {
      const std::size_t from = p_;
      while (p_ < t_.size() && t_[p_] >= '0' && t_[p_] <= '9') ++p_;
      return p_ > from;
    };
    if (!digits()) return false;
    if (p_ < t_.size() && t_[p_] == '.') {
      ++p_;
      if (!digits()) return false;
    }
    if (p_ < t_.size() && (t_[p_] == 'e' || t_[p_] == 'E')) {
      ++p_;
      if (p_ < t_.size() && (t_[p_] == '+' || t_[p_] == '-')) ++p_;
      if (!digits()) return false;
    }
    double n = 0;
#if defined(__EMSCRIPTEN__)
    // The browser's C++ library has no floating-point from_chars; its only
    // locale is "C", so strtod reads the same numbers. The text was checked
    // above to be a JSON number, so it is copied out whole and read whole.
    const std::string number(t_.substr(start, p_ - start));
    char* stop = nullptr;
    n = std::strtod(number.c_str(), &stop);
    if (stop != number.c_str() + number.size() || !std::isfinite(n)) return false;
#else
    const auto [end, ec] = std::from_chars(t_.data() + start, t_.data() + p_, n);
    if (ec != std::errc() || end != t_.data() + p_ || !std::isfinite(n)) return false;
#endif
    out = Json::Number(n);
    return true;
  }

  bool Hex4(std::uint32_t& v) {
    if (p_ + 4 > t_.size()) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = t_[p_++];
      v <<= 4;
      if (c >= '0' && c <= '9') {
        v |= static_cast<std::uint32_t>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        v |= static_cast<std::uint32_t>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        v |= static_cast<std::uint32_t>(c - 'A' + 10);
      } else {
        return false;
      }
    }
    return true;
  }

  // One UTF-8 sequence, well formed (no overlongs, no surrogates).
  bool Utf8(std::string& s) {
    const auto b0 = static_cast<unsigned char>(t_[p_]);
    int more = 0;
    std::uint32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      more = 1;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      more = 2;
      cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      more = 3;
      cp = b0 & 0x07;
    } else {
      return false;
    }
    if (p_ + static_cast<std::size_t>(more) >= t_.size()) return false;
    for (int i = 1; i <= more; ++i) {
      const auto b = static_cast<unsigned char>(t_[p_ + static_cast<std::size_t>(i)]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if ((more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    s.append(t_.substr(p_, static_cast<std::size_t>(more) + 1));
    p_ += static_cast<std::size_t>(more) + 1;
    return true;
  }

  bool StringValue(std::string& s) {
    ++p_;  // the opening quote
    while (p_ < t_.size()) {
      const char c = t_[p_];
      if (c == '"') {
        ++p_;
        return true;
      }
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (static_cast<unsigned char>(c) >= 0x80) {
        if (!Utf8(s)) return false;
        continue;
      }
      ++p_;
      if (c != '\\') {
        s += c;
        continue;
      }
      if (p_ >= t_.size()) return false;
      const char e = t_[p_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          s += e;
          break;
        case 'b':
          s += '\b';
          break;
        case 'f':
          s += '\f';
          break;
        case 'n':
          s += '\n';
          break;
        case 'r':
          s += '\r';
          break;
        case 't':
          s += '\t';
          break;
        case 'u': {
          std::uint32_t cp = 0;
          if (!Hex4(cp)) return false;
          if (cp >= 0xD800 && cp <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return false;
          }
          AppendUtf8(s, cp);
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }

  bool ArrayValue(Json& out, int depth) {
    ++p_;
    out = Json::Array();
    Space();
    if (p_ < t_.size() && t_[p_] == ']') {
      ++p_;
      return true;
    }
    for (;;) {
      if (out.Items().size() >= limits_.MaxItems) return false;
      Json item;
      if (!Value(item, depth + 1)) return false;
      out.Push(std::move(item));
      Space();
      if (p_ >= t_.size()) return false;
      if (t_[p_] == ']') {
        ++p_;
        return true;
      }
      if (t_[p_++] != ',') return false;
    }
  }

  bool ObjectValue(Json& out, int depth) {
    ++p_;
    out = Json::Object();
    Space();
    if (p_ < t_.size() && t_[p_] == '}') {
      ++p_;
      return true;
    }
    for (;;) {
      if (out.Members().size() >= limits_.MaxItems) return false;
      Space();
      if (p_ >= t_.size() || t_[p_] != '"') return false;
      std::string key;
      if (!StringValue(key)) return false;
      // A repeated key would leave two readings of one message.
      if (out.Find(key) != nullptr) return false;
      Space();
      if (p_ >= t_.size() || t_[p_++] != ':') return false;
      Json value;
      if (!Value(value, depth + 1)) return false;
      out.Set(std::move(key), std::move(value));
      Space();
      if (p_ >= t_.size()) return false;
      if (t_[p_] == '}') {
        ++p_;
        return true;
      }
      if (t_[p_++] != ',') return false;
    }
  }

  std::string_view t_;
  JsonLimits limits_;
  std::size_t p_ = 0;
};

}  // namespace

void Json::DumpTo(std::string& out) const {
  switch (kind_) {
    case Kind::kNull:
      out += "null";
      break;
    case Kind::kBool:
      out += bool_ ? "true" : "false";
      break;
    case Kind::kNumber: {
      char buf[32];
      if (std::floor(number_) == number_ && std::fabs(number_) < 1e15) {
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(number_));
      } else {
        // Seventeen digits read back as the very same double, so a number
        // written and read again is the number that came in.
        std::snprintf(buf, sizeof buf, "%.17g", number_);
      }
      out += buf;
      break;
    }
    case Kind::kString:
      DumpString(string_, out);
      break;
    case Kind::kArray:
      out += '[';
      for (std::size_t i = 0; i < items_.size(); ++i) {
        if (i > 0) out += ',';
        items_[i].DumpTo(out);
      }
      out += ']';
      break;
    case Kind::kObject:
      out += '{';
      for (std::size_t i = 0; i < members_.size(); ++i) {
        if (i > 0) out += ',';
        DumpString(members_[i].first, out);
        out += ':';
        members_[i].second.DumpTo(out);
      }
      out += '}';
      break;
  }
}

std::string Json::Dump() const {
  std::string out;
  DumpTo(out);
  return out;
}

std::optional<Json> ParseJson(std::string_view text, const JsonLimits& limits) {
  if (text.size() > limits.MaxBytes) return std::nullopt;
  return Parser(text, limits).Run();
}

Json TileJson(int a, int b) {
  return Json::Array().Push(Json::Number(a)).Push(Json::Number(b));
}

}  // namespace tarvelis::server
