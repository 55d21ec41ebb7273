#include "protocol/protocol.h"

#include <algorithm>

#include "protocol/json.h"

namespace tarvelis::server {
namespace {

// What a player reads when the server refuses a message.
constexpr const char* kTextBadMessage = "El mensaje no se entiende.";
constexpr const char* kTextVersion = "Versión del protocolo no admitida.";
constexpr const char* kTextNoTable = "No hay ninguna mesa con ese código.";
constexpr const char* kTextSeatTaken = "Ese puesto ya está ocupado.";
constexpr const char* kTextNotPerson = "Ese puesto lo juega el ordenador.";
constexpr const char* kTextNotSeated = "Primero hay que sentarse a la mesa.";
constexpr const char* kTextNotReady = "Faltan jugadores por sentarse.";
constexpr const char* kTextStarted = "La partida ya ha empezado.";
constexpr const char* kTextNotAsked = "No es su turno.";
constexpr const char* kTextStale = "Esa jugada ya no está en curso.";
constexpr const char* kTextIllegal = "Esa ficha no se puede jugar ahí.";
constexpr const char* kTextTooFast = "Demasiados mensajes; espere un momento.";
constexpr const char* kTextFull = "El servidor no admite más mesas.";
constexpr const char* kTextFinished = "La partida ha terminado.";
constexpr const char* kTextTakenOver = "Su puesto se ha abierto en otra conexión.";
constexpr const char* kTextNotInRoom = "Primero hay que entrar en la sala.";

constexpr std::size_t kMaxNameBytes = 64;
// Bounds of the numbers a move names; the state checks them exactly.
constexpr int kMaxHandNumberOnWire = 1000;
constexpr int kMaxMoveOnWire = 1000;

struct RuleName {
  const char* Name;
  i16 HouseRules::*Field;
  std::array<const char*, 4> Values;  // option values 1..4; null past the last
};

// The house rules a table may set. Choosing the leader by hand and dealing by
// hand need a person at one screen, so a table on the server leaves them out.
const std::array<RuleName, 10> kRuleNames{{
    {"mode", &HouseRules::RuleMode, {"pairs", "individual", nullptr, nullptr}},
    {"scoring", &HouseRules::RuleScoring, {"tens", "units", nullptr, nullptr}},
    {"five_doubles", &HouseRules::RuleFiveDoubles, {"play", "return", nullptr, nullptr}},
    {"first_lead", &HouseRules::RuleFirstLead, {"six_double", "draw", nullptr, nullptr}},
    {"next_lead", &HouseRules::RuleNextLead, {"rotate", nullptr, "winner", "loser"}},
    {"counted_pips", &HouseRules::RuleCountedPips, {"all", "losers", nullptr, nullptr}},
    {"scoring_pair", &HouseRules::RuleScoringPair, {"winners", "losers", nullptr, nullptr}},
    {"tie_winner", &HouseRules::RuleTieWinner, {"repeat", "leaders", "non_leaders", nullptr}},
    {"tie_lead", &HouseRules::RuleTieLead, {"same", "rotate", nullptr, nullptr}},
    {"direction", &HouseRules::RuleDirection, {"direct", "reverse", nullptr, nullptr}},
}};

bool OnlyMembers(const Json& j, std::initializer_list<std::string_view> names) {
  return std::all_of(j.Members().begin(), j.Members().end(), [&](const auto& m) {
    return std::find(names.begin(), names.end(), m.first) != names.end();
  });
}

bool ReadRules(const Json& j, HouseRules& rules) {
  if (!j.IsObject()) return false;
  for (const auto& member : j.Members()) {
    const std::string& name = member.first;
    const Json& value = member.second;
    if (name == "target") {
      const auto target = j.IntAt("target", 1, 999);
      if (!target) return false;
      rules.MatchTarget = static_cast<i16>(*target);
      continue;
    }
    const auto rule = std::find_if(kRuleNames.begin(), kRuleNames.end(),
                                   [&](const RuleName& r) { return name == r.Name; });
    if (rule == kRuleNames.end() || !value.IsString()) return false;
    bool found = false;
    for (std::size_t i = 0; i < rule->Values.size(); ++i) {
      if (rule->Values[i] != nullptr && value.AsString() == rule->Values[i]) {
        rules.*(rule->Field) = static_cast<i16>(i + 1);
        found = true;
      }
    }
    if (!found) return false;
  }
  return true;
}

bool ReadSeats(const Json& j, PerSeat<SeatSetup>& seats) {
  if (!j.IsArray() || j.Items().size() != kSeats) return false;
  for (int seat = 1; seat <= kSeats; ++seat) {
    const Json& s = j.Items()[static_cast<std::size_t>(seat - 1)];
    if (!s.IsObject() || !OnlyMembers(s, {"kind", "level"})) return false;
    const auto kind = s.StringAt("kind", 16);
    if (!kind) return false;
    SeatSetup& out = seats[seat];
    if (*kind == "person") {
      out.Kind = SeatKind::kPerson;
    } else if (*kind == "computer") {
      out.Kind = SeatKind::kComputer;
    } else if (*kind == "expert") {
      out.Kind = SeatKind::kExpert;
    } else {
      return false;
    }
    if (s.Find("level") != nullptr) {
      const auto level = s.IntAt("level", 0, 100);
      if (!level) return false;
      out.Level = *level;
    }
  }
  return true;
}

bool ReadMove(const Json& j, Request& r) {
  if (!OnlyMembers(j, {"v", "type", "hand", "move", "tile", "end", "auto"})) return false;
  const auto hand = j.IntAt("hand", 1, kMaxHandNumberOnWire);
  const auto move = j.IntAt("move", 1, kMaxMoveOnWire);
  if (!hand || !move) return false;
  r.Hand = *hand;
  r.Move = *move;
  if (const Json* a = j.Find("auto"); a != nullptr) {
    if (!a->IsBool() || !a->AsBool() || j.Find("tile") != nullptr || j.Find("end") != nullptr)
      return false;
    r.Auto = true;
    return true;
  }
  const Json* tile = j.Find("tile");
  if (tile == nullptr || !tile->IsArray() || tile->Items().size() != 2) return false;
  int pips[2];
  for (int i = 0; i < 2; ++i) {
    const Json& p = tile->Items()[static_cast<std::size_t>(i)];
    if (!p.IsNumber() || p.AsNumber() < 0 || p.AsNumber() > 6 ||
        p.AsNumber() != static_cast<int>(p.AsNumber()))
      return false;
    pips[i] = static_cast<int>(p.AsNumber());
  }
  r.PipA = pips[0];
  r.PipB = pips[1];
  if (j.Find("end") != nullptr) {
    const auto end = j.IntAt("end", 1, 2);
    if (!end) return false;
    r.End = *end;
  }
  return true;
}

// The room's requests; false for a type that is none of them, or a request
// of the wrong shape.
bool ReadRoomRequest(const Json& j, std::string_view type, Request& r) {
  if (type == "enter") {
    r.Type = RequestType::kEnter;
    const auto key = j.StringAt("key", kKeyLength);
    const auto name = j.StringAt("name", kMaxNameBytes);
    if (!OnlyMembers(j, {"v", "type", "key", "name"}) || !key || !IsKeyText(*key) || !name)
      return false;
    // One key, one player, however its hex digits were written.
    r.Key = *key;
    std::transform(r.Key.begin(), r.Key.end(), r.Key.begin(), [](char c) {
      return c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    r.Name = *name;
    return true;
  }
  if (type == "leave_room" || type == "fill") {
    r.Type = type == "fill" ? RequestType::kFill : RequestType::kLeaveRoom;
    return OnlyMembers(j, {"v", "type"});
  }
  if (type == "quick") {
    r.Type = RequestType::kQuick;
    const Json* rules = j.Find("rules");
    return OnlyMembers(j, {"v", "type", "rules"}) &&
           (rules == nullptr || ReadRules(*rules, r.Setup.Rules));
  }
  if (type == "watch") {
    r.Type = RequestType::kWatch;
    const auto code = j.StringAt("code", kCodeLength);
    if (!OnlyMembers(j, {"v", "type", "code"}) || !code || !IsCodeText(*code)) return false;
    r.Code = *code;
    return true;
  }
  if (type == "say") {
    r.Type = RequestType::kSay;
    const auto to = j.StringAt("to", 8);
    const auto said = j.StringAt("text", kMaxSaidBytes);
    if (!OnlyMembers(j, {"v", "type", "to", "text"}) || !to || (*to != "room" && *to != "table") ||
        !said)
      return false;
    r.ToRoom = *to == "room";
    r.Text = *said;
    return true;
  }
  return false;
}

}  // namespace

const char* ErrorName(ErrorCode code) {
  switch (code) {
    case ErrorCode::kBadMessage:
      return "bad_message";
    case ErrorCode::kVersion:
      return "version";
    case ErrorCode::kNoTable:
      return "no_table";
    case ErrorCode::kSeatTaken:
      return "seat_taken";
    case ErrorCode::kNotPerson:
      return "not_person";
    case ErrorCode::kNotSeated:
      return "not_seated";
    case ErrorCode::kNotReady:
      return "not_ready";
    case ErrorCode::kStarted:
      return "started";
    case ErrorCode::kNotAsked:
      return "not_asked";
    case ErrorCode::kStale:
      return "stale";
    case ErrorCode::kIllegal:
      return "illegal";
    case ErrorCode::kTooFast:
      return "too_fast";
    case ErrorCode::kFull:
      return "full";
    case ErrorCode::kFinished:
      return "finished";
    case ErrorCode::kTakenOver:
      return "taken_over";
    case ErrorCode::kNotInRoom:
      return "not_in_room";
  }
  return "bad_message";
}

const char* ErrorText(ErrorCode code) {
  switch (code) {
    case ErrorCode::kBadMessage:
      return kTextBadMessage;
    case ErrorCode::kVersion:
      return kTextVersion;
    case ErrorCode::kNoTable:
      return kTextNoTable;
    case ErrorCode::kSeatTaken:
      return kTextSeatTaken;
    case ErrorCode::kNotPerson:
      return kTextNotPerson;
    case ErrorCode::kNotSeated:
      return kTextNotSeated;
    case ErrorCode::kNotReady:
      return kTextNotReady;
    case ErrorCode::kStarted:
      return kTextStarted;
    case ErrorCode::kNotAsked:
      return kTextNotAsked;
    case ErrorCode::kStale:
      return kTextStale;
    case ErrorCode::kIllegal:
      return kTextIllegal;
    case ErrorCode::kTooFast:
      return kTextTooFast;
    case ErrorCode::kFull:
      return kTextFull;
    case ErrorCode::kFinished:
      return kTextFinished;
    case ErrorCode::kTakenOver:
      return kTextTakenOver;
    case ErrorCode::kNotInRoom:
      return kTextNotInRoom;
  }
  return kTextBadMessage;
}

bool IsCodeText(std::string_view text) {
  return text.size() == kCodeLength && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= '2' && c <= '9');
         });
}

bool IsTokenText(std::string_view text) {
  return text.size() == kTokenLength && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

bool IsKeyText(std::string_view text) {
  return text.size() == kKeyLength && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
         });
}

ReadOutcome ReadRequest(std::string_view text) {
  ReadOutcome out;
  if (text.size() > kMaxMessageBytes) return out;
  JsonLimits limits;
  limits.MaxBytes = kMaxMessageBytes;
  limits.MaxDepth = 4;
  limits.MaxItems = 16;
  const std::optional<Json> parsed = ParseJson(text, limits);
  if (!parsed || !parsed->IsObject()) return out;
  const Json& j = *parsed;
  const auto version = j.IntAt("v", 0, 1000);
  const auto type = j.StringAt("type", 16);
  if (!version || !type) return out;
  if (*version != kProtocolVersion) {
    out.Error = ErrorCode::kVersion;
    return out;
  }
  Request& r = out.Value;
  bool ok = false;
  if (*type == "create") {
    r.Type = RequestType::kCreate;
    const Json* seats = j.Find("seats");
    const Json* rules = j.Find("rules");
    const Json* open = j.Find("public");
    ok = OnlyMembers(j, {"v", "type", "seats", "rules", "public"}) && seats != nullptr &&
         ReadSeats(*seats, r.Setup.Seats) &&
         (rules == nullptr || ReadRules(*rules, r.Setup.Rules)) &&
         (open == nullptr || open->IsBool());
    r.Public = open != nullptr && open->IsBool() && open->AsBool();
  } else if (*type == "join") {
    r.Type = RequestType::kJoin;
    const auto code = j.StringAt("code", kCodeLength);
    const auto seat = j.IntAt("seat", 1, kSeats);
    const auto name = j.StringAt("name", kMaxNameBytes);
    ok = OnlyMembers(j, {"v", "type", "code", "seat", "name"}) && code && IsCodeText(*code) &&
         seat && name;
    if (ok) {
      r.Code = *code;
      r.Seat = *seat;
      r.Name = *name;
    }
  } else if (*type == "resume") {
    r.Type = RequestType::kResume;
    const auto code = j.StringAt("code", kCodeLength);
    const auto token = j.StringAt("token", kTokenLength);
    ok = OnlyMembers(j, {"v", "type", "code", "token"}) && code && IsCodeText(*code) && token &&
         IsTokenText(*token);
    if (ok) {
      r.Code = *code;
      r.Token = *token;
    }
  } else if (*type == "start") {
    r.Type = RequestType::kStart;
    ok = OnlyMembers(j, {"v", "type"});
  } else if (*type == "move") {
    r.Type = RequestType::kMove;
    ok = ReadMove(j, r);
  } else if (*type == "leave") {
    r.Type = RequestType::kLeave;
    ok = OnlyMembers(j, {"v", "type"});
  } else if (*type == "look") {
    r.Type = RequestType::kLook;
    const auto code = j.StringAt("code", kCodeLength);
    ok = OnlyMembers(j, {"v", "type", "code"}) && code && IsCodeText(*code);
    if (ok) r.Code = *code;
  } else if (*type == "leaderboard") {
    r.Type = RequestType::kLeaderboard;
    const Json* most = j.Find("most");
    const auto value = j.IntAt("most", 1, 100);
    ok = OnlyMembers(j, {"v", "type", "most"}) && (most == nullptr || value);
    if (ok && value) r.Most = *value;
  } else if (*type == "player") {
    r.Type = RequestType::kPlayer;
    ok = OnlyMembers(j, {"v", "type"});
  } else {
    ok = ReadRoomRequest(j, *type, r);
  }
  out.Ok = ok;
  return out;
}

Json RulesJson(const HouseRules& rules) {
  Json j = Json::Object();
  for (const RuleName& r : kRuleNames) {
    const int value = rules.*(r.Field);
    if (value >= 1 && value <= 4 && r.Values[static_cast<std::size_t>(value - 1)] != nullptr) {
      j.Set(r.Name, r.Values[static_cast<std::size_t>(value - 1)]);
    }
  }
  j.Set("target", static_cast<int>(rules.MatchTarget));
  return j;
}

bool RulesFromJson(const Json& j, HouseRules& rules) {
  return ReadRules(j, rules);
}

void FloodGate::Refill(std::int64_t nowMs) {
  if (last_ >= 0 && nowMs > last_) {
    tokens_ = std::min(burst_, tokens_ + static_cast<double>(nowMs - last_) * rate_ / 1000.0);
  }
  last_ = std::max(last_, nowMs);
}

bool FloodGate::Ready(std::int64_t nowMs) {
  Refill(nowMs);
  return tokens_ >= 1;
}

bool FloodGate::Admit(std::int64_t nowMs) {
  Refill(nowMs);
  if (tokens_ < 1) return false;
  tokens_ -= 1;
  return true;
}

}  // namespace tarvelis::server
