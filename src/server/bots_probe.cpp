#include "server/bots_probe.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tarvelis::server {

bool RoomProbe::Received(const std::string& type, std::size_t bytes, std::int64_t nowUs) {
  // Entering again (the changes) brings the room again: not measured.
  const bool first = type == "room" && !entered_;
  if (type == "room") entered_ = true;
  if (first) {
    enterMs_ = static_cast<double>(nowUs - enterSentAt_) / 1000.0;
    listing_ = true;
  }
  // The listing is the room message and the lines that follow it at once.
  if (listing_ && (first || type == "room_person" || type == "room_table")) {
    bytes_ += bytes;
    ++messages_;
    wholeMs_ = static_cast<double>(nowUs - enterSentAt_) / 1000.0;
  }
  return first;
}

Json RoomProbe::Line(int i, std::int64_t nowUs) {
  listing_ = false;
  said_[static_cast<std::size_t>(i)] = nowUs;
  return Json::Object()
      .Set("v", 1)
      .Set("type", "say")
      .Set("to", "room")
      .Set("text", "sonda " + std::to_string(i));
}

void RoomProbe::Heard(const Json& chat, std::int64_t nowUs) {
  const std::string text = chat.StringAt("text", 200).value_or("");
  if (text.rfind("sonda ", 0) != 0) return;
  const auto line = static_cast<std::size_t>(std::atoi(text.c_str() + 6));
  if (line < said_.size() && said_[line] >= 0) heard_.push_back(nowUs - said_[line]);
}

Json RoomProbe::Change(int i, std::int64_t nowUs) {
  asked_[static_cast<std::size_t>(i)] = nowUs;
  return Json::Object()
      .Set("v", 1)
      .Set("type", "enter")
      .Set("key", std::string(64, 'f'))
      .Set("name", "cambio " + std::to_string(i));
}

void RoomProbe::HeardNews(const std::string& text, std::int64_t nowUs) {
  // The bots do not read the room's news: a search, no parse, finds the one.
  constexpr std::string_view kMark = R"("name":"cambio )";
  const std::size_t at = text.find(kMark);
  if (at == std::string::npos) return;
  const auto line = static_cast<std::size_t>(std::atoi(text.c_str() + at + kMark.size()));
  if (line < asked_.size() && asked_[line] >= 0) changed_.push_back(nowUs - asked_[line]);
}

std::string RoomProbe::Report(int people, int tables, int errors) {
  std::sort(heard_.begin(), heard_.end());
  std::sort(changed_.begin(), changed_.end());
  const auto in = [](const std::vector<std::int64_t>& v, double q) {
    if (v.empty()) return 0.0;
    const auto i = static_cast<std::size_t>(q * static_cast<double>(v.size() - 1));
    return static_cast<double>(v[i]) / 1000.0;
  };
  const auto at = [&](double q) { return in(heard_, q); };
  char line[768];
  std::snprintf(
      line, sizeof line,
      "{\"people\":%d,\"tables\":%d,\"errors\":%d,\"enter_ms\":%.1f,\"whole_room_ms\":%.1f,"
      "\"enter_bytes\":%zu,"
      "\"enter_messages\":%d,\"lines\":%d,\"heard\":%zu,\"chat_median_ms\":%.1f,"
      "\"chat_p99_ms\":%.1f,\"chat_max_ms\":%.1f,\"changes_heard\":%zu,\"change_median_ms\":%.1f,"
      "\"change_p99_ms\":%.1f,\"change_max_ms\":%.1f}",
      people, tables, errors, enterMs_, wholeMs_, bytes_, messages_, kLines, heard_.size(), at(0.5),
      at(0.99), at(1.0), changed_.size(), in(changed_, 0.5), in(changed_, 0.99), in(changed_, 1.0));
  return line;
}

}  // namespace tarvelis::server
