#include "server/room.h"

#include <iterator>

#include "model/utf8_text.h"
#include "protocol/protocol.h"

namespace tarvelis::server {
namespace {

constexpr std::size_t kTagLength = 4;

Json Message(const char* type) {
  return Json::Object().Set("v", kProtocolVersion).Set("type", type);
}

// The code point starting at text[i] and its length in bytes; a byte that
// starts no whole character reads as one dropped byte (length 1, code 0), so
// even text that skipped the JSON reader's check cannot be read past its end.
std::pair<char32_t, std::size_t> CodePointAt(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return {lead, 1};
  const std::size_t length = lead >= 0xC2 && lead < 0xE0   ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || i + length > text.size()) return {0, 1};
  char32_t c = lead & (0x7Fu >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return {0, 1};
    c = (c << 6) | (next & 0x3Fu);
  }
  return {c, length};
}

bool Dropped(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0)               // control characters
         || (c >= 0x200B && c <= 0x200F)                   // zero-width marks, left and right marks
         || (c >= 0x202A && c <= 0x202E)                   // embeddings and overrides
         || (c >= 0x2066 && c <= 0x2069)                   // isolates
         || c == 0xFEFF                                    // a stray byte-order mark
         || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF;  // no character at all
}

}  // namespace

std::string CleanChatText(std::string_view text, std::size_t maxBytes) {
  std::string out;
  bool blank = false;
  for (std::size_t i = 0; i < text.size();) {
    auto [c, length] = CodePointAt(text, i);
    i += length;
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    if (Dropped(c)) continue;
    if (c == ' ') {
      blank = !out.empty();
      continue;
    }
    std::string piece = blank ? " " : "";
    AppendUtf8(piece, c);
    if (out.size() + piece.size() > maxBytes) break;
    out += piece;
    blank = false;
  }
  return out;
}

std::string TagOf(std::string_view keyHash) {
  return std::string(keyHash.substr(0, kTagLength));
}

Json RoomTableJson(const RoomTable& table) {
  Json seats = Json::Array();
  for (const RoomSeat& seat : table.Seats) {
    Json s = Json::Object().Set("kind", seat.Kind);
    if (seat.Kind == "computer") s.Set("level", seat.Level);
    if (!seat.Name.empty()) s.Set("name", seat.Name);
    if (seat.Rating > 0) s.Set("rating", seat.Rating);
    seats.Push(std::move(s));
  }
  return Json::Object()
      .Set("code", table.Code)
      .Set("rules", table.Rules)
      .Set("seats", std::move(seats))
      .Set("started", Json::Bool(table.Started))
      .Set("watchers", table.Watchers);
}

Json Room::PersonJson(const Present& present) {
  const RoomPerson& p = present.Person;
  return Json::Object()
      .Set("id", present.Id)
      .Set("name", p.Name)
      .Set("tag", TagOf(p.KeyHash))
      .Set("rating", p.Rating)
      .Set("where", p.Where);
}

void Room::ToAll(const std::string& text, int except) {
  for (const auto& [conn, present] : people_) {
    if (conn != except) sends_.emplace_back(conn, text);
  }
}

void Room::News(std::string subject, std::string text, int except) {
  if (!hold_) {
    ToAll(text, except);
    return;
  }
  // The one entering gets its own line too, later: the same as it knows.
  const auto [it, added] = newsAt_.try_emplace(std::move(subject), news_.size());
  if (added) {
    news_.push_back(std::move(text));
  } else {
    news_[it->second] = std::move(text);
  }
}

void Room::SendNews() {
  for (const std::string& text : news_) ToAll(text);
  news_.clear();
  newsAt_.clear();
}

void Room::Enter(int conn, RoomPerson person) {
  if (Inside(conn)) Leave(conn);
  const Present& present = people_[conn] = Present{nextId_++, std::move(person)};
  News("p" + std::to_string(present.Id),
       Message("room_person").Set("person", PersonJson(present)).Dump(), conn);
  Json people = Json::Array();
  Json tables = Json::Array();
  Cursor at;
  if (!List(conn, at, &people, &tables, kListingBytes)) listings_[conn] = at;
  sends_.emplace_back(conn, Message("room")
                                .Set("you", present.Id)
                                .Set("people", std::move(people))
                                .Set("tables", std::move(tables))
                                .Dump());
}

bool Room::List(int conn, Cursor& at, Json* people, Json* tables, std::size_t budget) {
  if (budget == 0) return false;
  std::size_t bytes = 0;
  // The item goes into the list, or out as its line; false past the budget.
  const auto add = [&](Json* list, Json item, const char* type, const char* member) {
    std::string text = list != nullptr ? item.Dump() : Message(type).Set(member, item).Dump();
    if (bytes > 0 && bytes + text.size() > budget) return false;
    bytes += text.size() + 1;
    if (list != nullptr) {
      list->Push(std::move(item));
    } else {
      sends_.emplace_back(conn, std::move(text));
    }
    return true;
  };
  if (!at.PeopleDone) {
    for (auto it = people_.lower_bound(at.Person); it != people_.end(); ++it) {
      if (!add(people, PersonJson(it->second), "room_person", "person")) {
        at.Person = it->first;
        return false;
      }
    }
    at.PeopleDone = true;
  }
  for (auto it = tables_.lower_bound(at.Table); it != tables_.end(); ++it) {
    if (!add(tables, RoomTableJson(it->second), "room_table", "table")) {
      at.Table = it->first;
      return false;
    }
  }
  return true;
}

void Room::ContinueListings(const ListingRoom& room) {
  for (auto it = listings_.begin(); it != listings_.end();) {
    const std::size_t budget = room ? room(it->first) : kListingBytes;
    it =
        List(it->first, it->second, nullptr, nullptr, budget) ? listings_.erase(it) : std::next(it);
  }
}

std::vector<int> Room::Listings() const {
  std::vector<int> conns;
  conns.reserve(listings_.size());
  for (const auto& [conn, cursor] : listings_) conns.push_back(conn);
  return conns;
}

int Room::IdOf(int conn) const {
  const auto it = people_.find(conn);
  return it == people_.end() ? 0 : it->second.Id;
}

void Room::Leave(int conn) {
  const auto it = people_.find(conn);
  if (it == people_.end()) return;
  const int id = it->second.Id;
  people_.erase(it);
  listings_.erase(conn);
  News("p" + std::to_string(id),
       Message("room_person").Set("id", id).Set("gone", Json::Bool(true)).Dump());
}

void Room::Moved(int conn, std::string where) {
  const auto it = people_.find(conn);
  if (it == people_.end() || it->second.Person.Where == where) return;
  it->second.Person.Where = std::move(where);
  News("p" + std::to_string(it->second.Id),
       Message("room_person").Set("person", PersonJson(it->second)).Dump());
}

void Room::Table(const RoomTable& table) {
  auto [it, added] = tables_.try_emplace(table.Code, table);
  if (!added) {
    if (it->second == table) return;
    it->second = table;
  }
  News("t" + table.Code, Message("room_table").Set("table", RoomTableJson(table)).Dump());
}

void Room::TableGone(const std::string& code) {
  if (tables_.erase(code) == 0) return;
  News("t" + code, Message("room_table").Set("code", code).Set("gone", Json::Bool(true)).Dump());
}

bool Room::Say(int conn, std::string_view text) {
  const auto it = people_.find(conn);
  if (it == people_.end()) return false;
  const std::string clean = CleanChatText(text, kMaxChatBytes);
  if (clean.empty()) return false;
  ToAll(Message("chat")
            .Set("to", "room")
            .Set("from", it->second.Id)
            .Set("name", it->second.Person.Name)
            .Set("tag", TagOf(it->second.Person.KeyHash))
            .Set("text", clean)
            .Dump());
  return true;
}

std::optional<QuickChoice> QuickSeat(const Room& room, std::string_view rules) {
  std::optional<QuickChoice> best;
  int fewest = 5;
  for (const auto& [code, table] : room.PublicTables()) {
    if (table.Started || table.Rules != rules) continue;
    int free = 0;
    int first = 0;
    for (int i = 0; i < 4; ++i) {
      if (table.Seats[i].Kind == "person" && table.Seats[i].Name.empty()) {
        ++free;
        if (first == 0) first = i + 1;
      }
    }
    if (free > 0 && free < fewest) {
      fewest = free;
      best = QuickChoice{code, first};
    }
  }
  return best;
}

}  // namespace tarvelis::server
