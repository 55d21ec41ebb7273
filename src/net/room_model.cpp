#include "net/room_model.h"

#include <algorithm>
#include <cmath>

#include "model/utf8_text.h"
#include "protocol/protocol.h"
#include "storage/clean_text.h"

namespace tarvelis::net {
namespace {

using server::Json;

// A room of a few hundred people fills a server's longest message.
constexpr server::JsonLimits kRoomLimits{1 << 16, 8, 1024};

Json Request(const char* type) {
  return Json::Object().Set("v", server::kProtocolVersion).Set("type", type);
}

// A number of the message rounded to a whole one, when it is one within [lo, hi].
std::optional<int> NumberAt(const Json& j, std::string_view key, int lo, int hi) {
  const Json* v = j.Find(key);
  if (v == nullptr || !v->IsNumber()) return std::nullopt;
  const double n = std::round(v->AsNumber());
  if (!(n >= lo && n <= hi)) return std::nullopt;
  return static_cast<int>(n);
}

bool BoolAt(const Json& j, std::string_view key) {
  const Json* v = j.Find(key);
  return v != nullptr && v->IsBool() && v->AsBool();
}

// A short text of the message: its printable part, or "" when it is no text
// or longer than `most` bytes.
std::string TextAt(const Json& j, std::string_view key, std::size_t most) {
  return WithoutControlCharacters(j.StringAt(key, most).value_or(""));
}

// A name cut as a seat's is; a longer one than any message holds is none.
std::string NameAt(const Json& j) {
  return BoundedName(j.StringAt("name", 4096).value_or(""));
}

// A tag is the first characters of a hash: letters and digits only.
std::string TagAt(const Json& j) {
  std::string tag = j.StringAt("tag", kTagBytes).value_or("");
  const bool plain = std::all_of(tag.begin(), tag.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
  return plain ? tag : std::string();
}

std::optional<std::string> CodeAt(const Json& j) {
  const auto code = j.StringAt("code", server::kCodeLength);
  if (!code || !server::IsCodeText(*code)) return std::nullopt;
  return code;
}

std::optional<RoomPerson> ReadPersonOf(const Json& j) {
  const auto id = NumberAt(j, "id", 1, 1 << 30);
  if (!j.IsObject() || !id) return std::nullopt;
  RoomPerson p;
  p.Id = *id;
  p.Name = NameAt(j);
  p.Tag = TagAt(j);
  p.Rating = NumberAt(j, "rating", 0, kRatingMost).value_or(0);
  const std::string where = j.StringAt("where", server::kCodeLength).value_or("");
  if (server::IsCodeText(where)) p.Where = where;
  return p;
}

std::optional<RoomTable> ReadTableOf(const Json& j) {
  const auto code = j.IsObject() ? CodeAt(j) : std::nullopt;
  const Json* seats = j.IsObject() ? j.Find("seats") : nullptr;
  if (!code || seats == nullptr || !seats->IsArray() || seats->Items().size() != kSeats) {
    return std::nullopt;
  }
  RoomTable t;
  t.Code = *code;
  t.Rules = TextAt(j, "rules", kRulesLineBytes);
  for (int i = 0; i < kSeats; ++i) {
    const Json& s = seats->Items()[i];
    if (!s.IsObject()) return std::nullopt;
    const std::string kind = s.StringAt("kind", 16).value_or("");
    RoomChair& c = t.Chairs[i];
    c.Kind = kind == "person"   ? SeatKind::kPerson
             : kind == "expert" ? SeatKind::kExpert
                                : SeatKind::kComputer;
    c.Level = NumberAt(s, "level", 0, 100).value_or(50);
    if (c.Kind == SeatKind::kPerson) {
      c.Name = NameAt(s);
      c.Rating = NumberAt(s, "rating", 0, kRatingMost).value_or(0);
    }
  }
  t.Started = BoolAt(j, "started");
  t.Watchers = NumberAt(j, "watchers", 0, 1 << 20).value_or(0);
  return t;
}

RankedPlayer ReadRanked(const Json& j) {
  RankedPlayer r;
  r.Name = NameAt(j);
  r.Tag = TagAt(j);
  r.Rating = NumberAt(j, "rating", 0, kRatingMost).value_or(0);
  r.Deviation = NumberAt(j, "deviation", 0, kRatingMost).value_or(0);
  r.Matches = NumberAt(j, "matches", 0, 1 << 30).value_or(0);
  r.Hands = NumberAt(j, "hands", 0, 1 << 30).value_or(0);
  // Never more hands won than played, whatever the server says.
  r.HandsWon = std::min(NumberAt(j, "hands_won", 0, 1 << 30).value_or(0), r.Hands);
  return r;
}

template <typename T, typename Key>
void Upsert(std::vector<T>& items, T item, std::size_t most, Key key) {
  const auto at =
      std::find_if(items.begin(), items.end(), [&](const T& old) { return key(old) == key(item); });
  if (at != items.end()) {
    *at = std::move(item);
  } else if (items.size() < most) {
    items.push_back(std::move(item));
  }
}

}  // namespace

int RoomTable::FreeChairs() const {
  return static_cast<int>(
      std::count_if(Chairs.begin(), Chairs.end(), [](const RoomChair& c) { return c.Free(); }));
}

std::string EnterRequest(std::string_view key, std::string_view name) {
  return Request("enter").Set("key", std::string(key)).Set("name", std::string(name)).Dump();
}

std::string LeaveRoomRequest() {
  return Request("leave_room").Dump();
}

std::string QuickRequest(const GameState& settings) {
  return Lobby{}.BeginQuick(settings, {});
}

std::string WatchRequest(std::string_view code) {
  return Request("watch").Set("code", std::string(code)).Dump();
}

std::string SayRequest(bool toRoom, std::string_view text) {
  return Request("say")
      .Set("to", toRoom ? "room" : "table")
      .Set("text", CleanChatText(text))
      .Dump();
}

std::string LeaderboardRequest(int most) {
  return Request("leaderboard").Set("most", std::clamp(most, 1, 100)).Dump();
}

std::string PlayerRequest() {
  return Request("player").Dump();
}

RoomModel::Heard RoomModel::Read(std::string_view text) {
  const auto message = server::ParseJson(text, kRoomLimits);
  const auto type = message ? message->StringAt("type", 32) : std::nullopt;
  if (!type || message->IntAt("v", 0, 1 << 30) != server::kProtocolVersion) {
    return Heard::kNothing;
  }
  if (*type == "room") return ReadRoom(*message);
  if (*type == "room_person") return ReadPerson(*message);
  if (*type == "room_table") return ReadTable(*message);
  if (*type == "chat") return ReadChat(*message);
  if (*type == "leaderboard") return ReadLeaderboard(*message);
  if (*type == "player") return ReadPlayer(*message);
  if (*type == "error") {
    error_ = message->StringAt("error", 32).value_or("");
    return Heard::kError;
  }
  if (*type == "can_fill") {
    const auto code = CodeAt(*message);
    if (!code) return Heard::kNothing;
    fillCode_ = *code;
    return Heard::kCanFill;
  }
  return Heard::kNothing;
}

RoomModel::Heard RoomModel::ReadRoom(const Json& message) {
  const Json* people = message.Find("people");
  const Json* tables = message.Find("tables");
  // `you` is the room's own number for this client.
  const auto id = NumberAt(message, "you", 1, 1 << 30);
  if (!id || people == nullptr || !people->IsArray() || tables == nullptr || !tables->IsArray()) {
    return Heard::kNothing;
  }
  entered_ = true;
  you_ = *id;
  people_.clear();
  tables_.clear();
  for (const Json& p : people->Items()) {
    if (auto person = ReadPersonOf(p)) {
      Upsert(people_, std::move(*person), kRoomMostPeople,
             [](const RoomPerson& x) { return x.Id; });
    }
  }
  for (const Json& t : tables->Items()) {
    if (auto table = ReadTableOf(t)) {
      Upsert(tables_, std::move(*table), kRoomMostTables,
             [](const RoomTable& x) { return x.Code; });
    }
  }
  return Heard::kRoom;
}

RoomModel::Heard RoomModel::ReadPerson(const Json& message) {
  if (BoolAt(message, "gone")) {
    const auto id = NumberAt(message, "id", 1, 1 << 30);
    if (!id) return Heard::kNothing;
    std::erase_if(people_, [&](const RoomPerson& p) { return p.Id == *id; });
    return Heard::kPerson;
  }
  const Json* person = message.Find("person");
  auto read = person != nullptr ? ReadPersonOf(*person) : std::nullopt;
  if (!read) return Heard::kNothing;
  Upsert(people_, std::move(*read), kRoomMostPeople, [](const RoomPerson& x) { return x.Id; });
  return Heard::kPerson;
}

RoomModel::Heard RoomModel::ReadTable(const Json& message) {
  if (BoolAt(message, "gone")) {
    const auto code = CodeAt(message);
    if (!code) return Heard::kNothing;
    std::erase_if(tables_, [&](const RoomTable& t) { return t.Code == *code; });
    if (fillCode_ == *code) fillCode_.clear();
    return Heard::kTable;
  }
  const Json* table = message.Find("table");
  auto read = table != nullptr ? ReadTableOf(*table) : std::nullopt;
  if (!read) return Heard::kNothing;
  // A table that started has no chairs left to give the computer.
  if (read->Started && fillCode_ == read->Code) fillCode_.clear();
  Upsert(tables_, std::move(*read), kRoomMostTables, [](const RoomTable& x) { return x.Code; });
  return Heard::kTable;
}

RoomModel::Heard RoomModel::ReadChat(const Json& message) {
  const std::string to = message.StringAt("to", 8).value_or("");
  if (to != "room" && to != "table") return Heard::kNothing;
  ChatLine line;
  line.ToRoom = to == "room";
  line.From = NumberAt(message, "from", 0, 1 << 30).value_or(0);
  line.Name = NameAt(message);
  line.Tag = TagAt(message);
  // A server's line is cleaned again: the room draws nothing it would not send.
  line.Text = CleanChatText(message.StringAt("text", 4 * kChatTextBytes).value_or(""));
  if (line.Text.empty()) return Heard::kNothing;
  if (!line.Tag.empty() && mutes_.contains(line.Tag)) return Heard::kNothing;
  chat_.push_back(std::move(line));
  while (chat_.size() > kRoomChatLines) chat_.pop_front();
  return Heard::kChat;
}

RoomModel::Heard RoomModel::ReadLeaderboard(const Json& message) {
  const Json* players = message.Find("players");
  if (players == nullptr || !players->IsArray()) return Heard::kNothing;
  ranked_.clear();
  for (const Json& p : players->Items()) {
    if (ranked_.size() == kRoomMostRanked) break;
    if (p.IsObject()) ranked_.push_back(ReadRanked(p));
  }
  return Heard::kLeaderboard;
}

RoomModel::Heard RoomModel::ReadPlayer(const Json& message) {
  PlayerPage page;
  page.Self = ReadRanked(message);
  if (const Json* history = message.Find("history"); history != nullptr && history->IsArray()) {
    for (const Json& m : history->Items()) {
      if (page.History.size() == kRoomMostHistory) break;
      if (!m.IsObject()) continue;
      PastMatch past;
      past.Date = TextAt(m, "date", 32);
      past.Total = NumberAt(m, "total", -100000, 100000).value_or(0);
      past.Before = NumberAt(m, "before", 0, kRatingMost).value_or(0);
      past.After = NumberAt(m, "after", 0, kRatingMost).value_or(0);
      page.History.push_back(std::move(past));
    }
  }
  page_ = std::move(page);
  return Heard::kPlayer;
}

const RoomTable* RoomModel::TableOf(std::string_view code) const {
  for (const RoomTable& t : tables_) {
    if (t.Code == code) return &t;
  }
  return nullptr;
}

const RoomPerson* RoomModel::PersonOf(int id) const {
  for (const RoomPerson& p : people_) {
    if (p.Id == id) return &p;
  }
  return nullptr;
}

std::string RoomModel::ShownName(const RoomPerson& person) const {
  const bool shared = std::any_of(people_.begin(), people_.end(), [&](const RoomPerson& other) {
    return other.Id != person.Id && other.Name == person.Name;
  });
  if (!shared || person.Tag.empty()) return person.Name;
  return person.Name + " #" + person.Tag;
}

void RoomModel::SetMutes(std::set<std::string> tags) {
  mutes_ = std::move(tags);
}

void RoomModel::Mute(const std::string& tag) {
  if (tag.empty()) return;
  mutes_.insert(tag);
  std::erase_if(chat_, [&](const ChatLine& line) { return line.Tag == tag; });
}

void RoomModel::Unmute(const std::string& tag) {
  mutes_.erase(tag);
}

std::string MutesText(const std::set<std::string>& tags) {
  std::string out;
  for (const std::string& tag : tags) {
    if (!out.empty()) out += ' ';
    out += tag;
  }
  return out;
}

std::set<std::string> ParseMutes(std::string_view text) {
  std::set<std::string> tags;
  std::size_t i = 0;
  while (i < text.size() && tags.size() < 1000) {
    const std::size_t end = std::min(text.find(' ', i), text.size());
    const std::string word(text.substr(i, end - i));
    const bool plain =
        !word.empty() && word.size() <= kTagBytes &&
        std::all_of(word.begin(), word.end(), [](char c) {
          return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        });
    if (plain) tags.insert(word);
    i = end + 1;
  }
  return tags;
}

}  // namespace tarvelis::net
