// Any bytes as what a server's room sends, one message a line, the first
// byte choosing a tag to mute. Whatever the lines, the room model never holds
// more people, tables or chat lines than it keeps, a name longer than a seat's,
// a number outside its range, a chat line longer than the room sends, or a
// muted person's line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/names.h"
#include "model/utf8_text.h"
#include "net/room_model.h"

namespace {

using namespace tarvelis;
using namespace tarvelis::net;

bool NameOk(const std::string& name) {
  return Utf8Length(name) <= kMaxNameLength;
}

bool RatingOk(int rating) {
  return rating >= 0 && rating <= kRatingMost;
}

void Check(const RoomModel& room) {
  bool ok = room.People().size() <= kRoomMostPeople && room.Tables().size() <= kRoomMostTables &&
            room.Chat().size() <= kRoomChatLines && room.Leaderboard().size() <= kRoomMostRanked;
  for (const RoomPerson& p : room.People()) {
    ok = ok && p.Id > 0 && NameOk(p.Name) && RatingOk(p.Rating) && p.Tag.size() <= kTagBytes &&
         room.ShownName(p).size() <= p.Name.size() + 2 + kTagBytes;
  }
  for (const RoomTable& t : room.Tables()) {
    ok = ok && t.Code.size() == 10 && t.Rules.size() <= kRulesLineBytes && t.Watchers >= 0;
    for (const RoomChair& c : t.Chairs) ok = ok && NameOk(c.Name) && RatingOk(c.Rating);
  }
  for (const ChatLine& line : room.Chat()) {
    ok = ok && !line.Text.empty() && line.Text.size() <= kChatTextBytes && NameOk(line.Name) &&
         !room.Mutes().contains(line.Tag);
  }
  for (const RankedPlayer& r : room.Leaderboard()) {
    ok = ok && NameOk(r.Name) && RatingOk(r.Rating) && r.HandsWon <= r.Hands;
  }
  if (room.Page()) ok = ok && room.Page()->History.size() <= kRoomMostHistory;
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  RoomModel room;
  room.Mute(std::string(1, static_cast<char>('a' + bytes[0] % 26)));
  bytes.remove_prefix(1);
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    room.Read(bytes.substr(0, end));
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    Check(room);
  }
  return 0;
}
