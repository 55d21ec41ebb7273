#include "net/lobby.h"

#include <algorithm>

#include "layout/name_rules.h"
#include "model/texts.h"
#include "model/utf8_text.h"
#include "protocol/json.h"
#include "protocol/protocol.h"

namespace tarvelis::net {
namespace {

using server::ErrorCode;
using server::ErrorName;
using server::Json;

Json Request(const char* type) {
  return Json::Object().Set("v", server::kProtocolVersion).Set("type", type);
}

std::string Utf8(const std::u32string& text) {
  std::string out;
  for (const char32_t c : text) AppendUtf8(out, c);
  return out;
}

// The seats as `table`, `seats` and `started` list them; nothing when the list
// is not four seats of the protocol's shape.
std::optional<PerSeat<LobbySeat>> ReadSeatList(const Json* list) {
  if (list == nullptr || !list->IsArray() || list->Items().size() != kSeats) return std::nullopt;
  PerSeat<LobbySeat> seats{};
  for (const Json& item : list->Items()) {
    const auto seat = item.IntAt("seat", 1, kSeats);
    const auto kind = item.StringAt("kind", 16);
    if (!seat || !kind) return std::nullopt;
    LobbySeat& s = seats[*seat];
    s.Kind = *kind == "person"   ? SeatKind::kPerson
             : *kind == "expert" ? SeatKind::kExpert
                                 : SeatKind::kComputer;
    s.Name = item.StringAt("name", 256).value_or("");
    s.Level = item.IntAt("level", 0, 100).value_or(50);
    const Json* taken = item.Find("taken");
    const Json* present = item.Find("present");
    s.Taken = taken != nullptr && taken->IsBool() && taken->AsBool();
    s.Present = present != nullptr && present->IsBool() && present->AsBool();
  }
  return seats;
}

}  // namespace

void TablePlan::CycleKind(int seat) {
  if (seat < 1 || seat > kSeats || seat == OwnSeat) return;
  SeatKind& k = Kinds[seat];
  k = k == SeatKind::kPerson     ? SeatKind::kComputer
      : k == SeatKind::kComputer ? SeatKind::kExpert
                                 : SeatKind::kPerson;
}

void TablePlan::SitAt(int seat) {
  if (seat < 1 || seat > kSeats) return;
  OwnSeat = seat;
  Kinds[seat] = SeatKind::kPerson;
}

int LocalSeat(const GameState& s) {
  for (const int seat : {4, 1, 2, 3}) {
    if (s.SeatControl[seat] == kManual) return seat;
  }
  return 4;
}

TablePlan PlanFromSettings(const GameState& s) {
  TablePlan plan;
  for (int seat = 1; seat <= kSeats; ++seat) {
    plan.Kinds[seat] = s.SeatControl[seat] == kManual ? SeatKind::kPerson
                       : s.SeatExpert[seat]           ? SeatKind::kExpert
                                                      : SeatKind::kComputer;
  }
  plan.SitAt(LocalSeat(s));
  return plan;
}

std::string DefaultName(const GameState& s) {
  return s.SeatName[LocalSeat(s)];
}

std::string CreateRequest(const GameState& s, const TablePlan& plan) {
  Json seats = Json::Array();
  for (int seat = 1; seat <= kSeats; ++seat) {
    switch (plan.Kinds[seat]) {
      case SeatKind::kPerson:
        seats.Push(Json::Object().Set("kind", "person"));
        break;
      case SeatKind::kExpert:
        seats.Push(Json::Object().Set("kind", "expert"));
        break;
      case SeatKind::kComputer:
        seats.Push(Json::Object()
                       .Set("kind", "computer")
                       .Set("level", std::clamp<int>(s.SeatLevel[seat], 0, 100)));
        break;
    }
  }
  Json request =
      Request("create").Set("seats", std::move(seats)).Set("rules", server::RulesJson(s));
  // Left out when private: a server without a room knows no such member.
  if (plan.Public) request.Set("public", Json::Bool(true));
  return request.Dump();
}

std::string JoinRequest(std::string_view code, int seat, std::string_view name) {
  return Request("join")
      .Set("code", std::string(code))
      .Set("seat", seat)
      .Set("name", std::string(name))
      .Dump();
}

std::string StartRequest() {
  return Request("start").Dump();
}

std::string LeaveRequest() {
  return Request("leave").Dump();
}

std::string LookRequest(std::string_view code) {
  return Request("look").Set("code", std::string(code)).Dump();
}

std::string ServerSeatText(const LobbySeat& seat) {
  if (seat.Kind == SeatKind::kExpert) return kNetworkExpert;
  return NetworkComputerText(std::clamp(seat.Level, 0, 100));
}

std::optional<LookAnswer> ReadLookAnswer(std::string_view text) {
  const auto message = server::ParseJson(text, server::JsonLimits{1 << 16, 8, 256});
  const auto type = message ? message->StringAt("type", 32) : std::nullopt;
  if (!type || message->IntAt("v", 0, 1 << 30) != server::kProtocolVersion) return std::nullopt;
  LookAnswer answer;
  if (*type == "error") {
    answer.Refused = FaultOfError(message->StringAt("error", 32).value_or(""));
    return answer;
  }
  const auto code = message->StringAt("code", server::kCodeLength);
  const auto seats = ReadSeatList(message->Find("seats"));
  if (*type != "seats" || !code || !server::IsCodeText(*code) || !seats) return std::nullopt;
  answer.Code = *code;
  answer.Seats = *seats;
  const Json* started = message->Find("started");
  answer.Started = started != nullptr && started->IsBool() && started->AsBool();
  return answer;
}

int OfferedSeat(const PerSeat<LobbySeat>& seats, int wanted) {
  if (wanted >= 1 && wanted <= kSeats && seats[wanted].Free()) return wanted;
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (seats[seat].Free()) return seat;
  }
  return wanted;
}

std::optional<std::string> CheckedCode(std::string_view typed) {
  std::string code;
  for (char c : typed) {
    if (c == ' ' || c == '-') continue;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    // A code has no zero or one: read aloud, they were the letters.
    if (c == '0') c = 'O';
    if (c == '1') c = 'I';
    code += c;
  }
  if (!server::IsCodeText(code)) return std::nullopt;
  return code;
}

std::optional<std::string> CheckedName(const std::u32string& typed) {
  std::u32string name = ApplyNameRules(typed, 0).Text;
  while (!name.empty() && name.back() == U' ') name.pop_back();
  if (name.empty()) return std::nullopt;
  return Utf8(name);
}

Fault FaultOfError(std::string_view code) {
  const std::pair<ErrorCode, Fault> known[] = {
      {ErrorCode::kNoTable, Fault::kNoTable},     {ErrorCode::kSeatTaken, Fault::kSeatTaken},
      {ErrorCode::kNotPerson, Fault::kNotPerson}, {ErrorCode::kFull, Fault::kFull},
      {ErrorCode::kVersion, Fault::kVersion},     {ErrorCode::kStarted, Fault::kStarted},
      {ErrorCode::kNotReady, Fault::kNotReady}};
  for (const auto& [error, fault] : known) {
    if (code == ErrorName(error)) return fault;
  }
  return Fault::kRefused;
}

const char* FaultText(Fault fault) {
  switch (fault) {
    case Fault::kNone:
      return "";
    case Fault::kNoServer:
      return kNetworkNoServer;
    case Fault::kDropped:
      return kNetworkDropped;
    case Fault::kNoTable:
      return kNetworkNoTable;
    case Fault::kSeatTaken:
      return kNetworkSeatTaken;
    case Fault::kNotPerson:
      return kNetworkNotPerson;
    case Fault::kFull:
      return kNetworkFull;
    case Fault::kVersion:
      return kNetworkVersion;
    case Fault::kStarted:
      return kNetworkStarted;
    case Fault::kNotReady:
      return kNetworkNotReady;
    case Fault::kRefused:
      break;
  }
  return kNetworkRefused;
}

std::string Lobby::BeginCreate(const GameState& settings, const TablePlan& plan, std::string name) {
  *this = Lobby{};
  stage_ = Stage::kCreating;
  host_ = true;
  seat_ = plan.OwnSeat;
  name_ = std::move(name);
  return CreateRequest(settings, plan);
}

std::string Lobby::BeginJoin(std::string code, int seat, std::string name) {
  *this = Lobby{};
  stage_ = Stage::kJoining;
  code_ = std::move(code);
  seat_ = seat;
  name_ = std::move(name);
  return JoinRequest(code_, seat_, name_);
}

std::string Lobby::BeginQuick(const GameState& settings, std::string name) {
  *this = Lobby{};
  stage_ = Stage::kJoining;
  name_ = std::move(name);
  return Json::Object()
      .Set("v", server::kProtocolVersion)
      .Set("type", "quick")
      .Set("rules", server::RulesJson(settings))
      .Dump();
}

void Lobby::Fail(Fault fault) {
  *this = Lobby{};
  fault_ = fault;
}

void Lobby::ConnectionLost(bool wasOpen) {
  if (stage_ == Stage::kIdle || stage_ == Stage::kStarted) return;
  Fail(wasOpen ? Fault::kDropped : Fault::kNoServer);
}

std::string Lobby::Start() {
  if (!MayStart()) return {};
  stage_ = Stage::kStarting;
  fault_ = Fault::kNone;
  return StartRequest();
}

std::string Lobby::Fill() {
  if (!MayFill()) return {};
  mayFill_ = false;
  return Json::Object().Set("v", server::kProtocolVersion).Set("type", "fill").Dump();
}

bool Lobby::MayStart() const {
  if (!host_ || stage_ != Stage::kSeated || !knowsSeats_) return false;
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (seats_[seat].Kind == SeatKind::kPerson && !seats_[seat].Taken) return false;
  }
  return true;
}

JoinedTable Lobby::Joined(const ServerAddress& address) const {
  return JoinedTable{address, code_, seat_, token_, host_};
}

std::string Lobby::Read(std::string_view text) {
  if (stage_ == Stage::kIdle || stage_ == Stage::kStarted) return {};
  // A table under way lists every move of its hand: more than the requests' 64 items.
  const auto message = server::ParseJson(text, server::JsonLimits{1 << 20, 8, 512});
  const auto type = message ? message->StringAt("type", 32) : std::nullopt;
  if (!type) {
    Fail(Fault::kRefused);
    return {};
  }
  if (message->IntAt("v", 0, 1 << 30) != server::kProtocolVersion) {
    Fail(Fault::kVersion);
    return {};
  }
  const bool seated = stage_ == Stage::kSeated || stage_ == Stage::kStarting;
  if (*type == "error") {
    const Fault fault = FaultOfError(message->StringAt("error", 32).value_or(""));
    if (seated) {
      // At the table already: the seat is kept, and the player may try again.
      stage_ = Stage::kSeated;
      fault_ = fault;
    } else {
      Fail(fault);
    }
  } else if (*type == "created" && stage_ == Stage::kCreating) {
    const auto code = message->StringAt("code", server::kCodeLength);
    if (!code || !server::IsCodeText(*code)) {
      Fail(Fault::kRefused);
      return {};
    }
    code_ = *code;
    stage_ = Stage::kJoining;
    return JoinRequest(code_, seat_, name_);
  } else if (*type == "seated" && stage_ == Stage::kJoining) {
    const auto seat = message->IntAt("seat", 1, kSeats);
    const auto token = message->StringAt("token", server::kTokenLength);
    if (!seat || !token || !server::IsTokenText(*token)) {
      Fail(Fault::kRefused);
      return {};
    }
    seat_ = *seat;
    token_ = *token;
    stage_ = Stage::kSeated;
    // The quick seat learns its table here: the server chose it.
    if (code_.empty()) {
      const auto code = message->StringAt("code", server::kCodeLength);
      if (code && server::IsCodeText(*code)) code_ = *code;
    }
  } else if (*type == "can_fill" && seated) {
    mayFill_ = message->StringAt("code", server::kCodeLength) == code_;
  } else if ((*type == "table" || *type == "seats" || *type == "started") && seated) {
    if (const auto seats = ReadSeatList(message->Find("seats"))) {
      seats_ = *seats;
      knowsSeats_ = true;
    }
    const Json* started = message->Find("started");
    // A `table` of a match under way starts it too: the seat came back to it.
    if (*type == "started" || (started != nullptr && started->IsBool() && started->AsBool())) {
      stage_ = Stage::kStarted;
      fault_ = Fault::kNone;
    }
  }
  return {};
}

}  // namespace tarvelis::net
