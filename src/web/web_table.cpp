#include "web/web_table.h"

#include <algorithm>
#include <cstdio>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"
#include "model/move_record.h"
#include "model/table_geometry.h"
#include "model/texts.h"
#include "model/utf8_text.h"
#include "protocol/json.h"
#include "protocol/protocol.h"
#include "web/draw_list.h"

namespace tarvelis::web {
namespace {

using server::Json;

constexpr server::JsonLimits kServerLimits{1 << 16, 8, 256};

}  // namespace

WebTable::WebTable(int tableW, int tableH) {
  state_.Table = ComputeTableGeometry(tableW, tableH);
  for (int seat = 1; seat <= kSeats; ++seat) state_.SeatName[seat].clear();
}

WebTable::~WebTable() = default;

void WebTable::Send(std::string text) {
  outgoing_.push_back(std::move(text));
}

std::vector<std::string> WebTable::TakeOutgoing() {
  std::vector<std::string> out;
  out.swap(outgoing_);
  return out;
}

void WebTable::SendJoin() {
  Send(Json::Object()
           .Set("v", server::kProtocolVersion)
           .Set("type", "join")
           .Set("code", code_)
           .Set("seat", tryingSeat_)
           .Set("name", name_)
           .Dump());
}

void WebTable::Enter(const std::string& code, const std::string& token, const std::string& name) {
  code_ = code;
  token_ = token;
  name_ = name;
  stage_ = Stage::kSitting;
  status_ = kNetworkSitting;
  ++version_;
  if (!token_.empty()) {
    Reopened();
    return;
  }
  tryingSeat_ = 1;
  SendJoin();
}

void WebTable::Reopened() {
  if (token_.empty()) {
    if (stage_ == Stage::kSitting && tryingSeat_ >= 1) SendJoin();
    return;
  }
  Send(Json::Object()
           .Set("v", server::kProtocolVersion)
           .Set("type", "resume")
           .Set("code", code_)
           .Set("token", token_)
           .Dump());
}

void WebTable::Received(std::string_view text) {
  const auto j = server::ParseJson(text, kServerLimits);
  if (!j || !j->IsObject()) return;
  const std::string type = j->StringAt("type", 32).value_or("");
  ++version_;
  if (type == "seated") {
    const int seat = j->IntAt("seat", 1, kSeats).value_or(0);
    const std::string token = j->StringAt("token", 64).value_or("");
    if (seat == 0 || token.empty()) return;
    if (seat != seat_ || !remote_) remote_ = std::make_unique<net::RemoteTable>(state_, seat);
    seat_ = seat;
    token_ = token;
    return;
  }
  if (type == "error" && stage_ == Stage::kSitting) {
    const std::string error = j->StringAt("error", 64).value_or("");
    if (token_.empty() && (error == "seat_taken" || error == "not_person") &&
        tryingSeat_ < kSeats) {
      ++tryingSeat_;
      SendJoin();
      return;
    }
    // A kept token the server no longer knows is forgotten.
    if (error == "bad_token" || error == "no_table") token_.clear();
    stage_ = Stage::kRefused;
    status_ = j->StringAt("text", 1024).value_or(kNetworkRefused);
    return;
  }
  if (type == "error" && stage_ == Stage::kWaitingPlayers) {
    const std::string error = j->StringAt("error", 64).value_or("");
    if (error == "not_ready" || error == "started") return;
  }
  if ((type == "table" || type == "seats") && stage_ != Stage::kPlaying &&
      stage_ != Stage::kFinished) {
    const Json* started = j->Find("started");
    const bool under_way = started != nullptr && started->IsBool() && started->AsBool();
    if (!under_way) {
      stage_ = Stage::kWaitingPlayers;
      status_ = kNetworkWaitingPlayers;
      // Once every person's seat is taken, any of them may start the match.
      bool all = true;
      const Json* seats = j->Find("seats");
      if (seats != nullptr && seats->IsArray()) {
        for (const Json& s : seats->Items()) {
          const Json* taken = s.Find("taken");
          if (s.StringAt("kind", 16).value_or("") == "person" &&
              (taken == nullptr || !taken->IsBool() || !taken->AsBool()))
            all = false;
        }
      }
      if (all && !startSent_) {
        startSent_ = true;
        status_ = kNetworkStarting;
        Send(Json::Object().Set("v", server::kProtocolVersion).Set("type", "start").Dump());
      }
    }
  }
  if (!remote_) return;
  for (const net::NetEvent& e : remote_->Read(text)) Present(e);
}

void WebTable::Present(const net::NetEvent& e) {
  using K = net::NetEventKind;
  switch (e.Kind) {
    case K::kStarted:
    case K::kTableLoaded:
      if (remote_->Started()) {
        stage_ = remote_->Finished() ? Stage::kFinished : Stage::kPlaying;
        status_.clear();
      }
      break;
    case K::kDealt:
      revealed_ = false;
      domino_ = false;
      passSeat_ = 0;
      endSlot_ = 0;
      break;
    case K::kLaid:
      passSeat_ = 0;
      break;
    case K::kPassed:
      passSeat_ = e.Seat;
      break;
    case K::kNotice:
      notices_.emplace_back(e.Title, e.Text);
      break;
    case K::kHandClosed:
      revealed_ = true;
      domino_ = e.Domino;
      break;
    case K::kAsked:
      endSlot_ = 0;
      break;
    case K::kMatchEnd:
      stage_ = Stage::kFinished;
      break;
    case K::kError:
      status_ = e.Text.empty() ? std::string(kNetworkRefused) : e.Text;
      endSlot_ = 0;
      break;
    case K::kScore:
    case K::kTurn:
    case K::kSeats:
    case K::kChat:  // the page has no chat yet
      break;
  }
}

Rect WebTable::ContinueButton() const {
  // Bottom right, between the bottom hand and the recorder panel's place,
  // where the chain never reaches: the desktop table's place for it.
  const TableGeometry& g = state_.Table;
  return Rect{g.ScreenWidthPx - 58 - art::kContinueButton.w - 12, g.ScreenHeightPx - 62,
              art::kContinueButton.w, art::kContinueButton.h};
}

Rect WebTable::NoticePanel() const {
  if (notices_.empty()) return {};
  const int lines = static_cast<int>(Wrapped(notices_.front().second, kNoticeChars).size());
  const int pw = 360;
  const int ph = std::max(44 + lines * 16 + 12, 90);
  return Rect{(TableWidth() - pw) / 2, (TableHeight() - ph) / 2, pw, ph};
}

Rect WebTable::OwnHandArea() const {
  return HandArea(state_.Table, net::kOwnLocalSeat);
}

Rect WebTable::ArrowRect(int end) const {
  const Point p = EndArrowPointOf(state_, end);
  const art::Cell& c = end == 1 ? art::kArrowRight : art::kArrowLeft;
  return Rect{p.x, p.y, c.w, c.h};
}

void WebTable::Press(int x, int y) {
  ++version_;
  if (!notices_.empty()) {
    // A notice is read and put away with a press anywhere.
    notices_.erase(notices_.begin());
    return;
  }
  if (remote_ && remote_->Asked()) PressWhileAsked(x, y);
}

void WebTable::PressWhileAsked(int x, int y) {
  const Point at{x, y};
  const int own = net::kOwnLocalSeat;
  if (endSlot_ != 0) {
    const HandSlot& t = state_.Hand[own][endSlot_];
    for (int end = 1; end <= 2; ++end) {
      if (ArrowRect(end).Contains(at)) {
        Send(remote_->MoveMessage(t.PipA, t.PipB, end));
        remote_->Answered();
        endSlot_ = 0;
        return;
      }
    }
  }
  if (ContinueButton().Contains(at)) {
    Send(remote_->AutoMoveMessage());
    remote_->Answered();
    endSlot_ = 0;
    return;
  }
  const HandHit hit = HitTestHand(state_.Table, at, true);
  if (hit.HitSeat != own || hit.HitSlot == 0) return;
  const HandSlot& t = state_.Hand[own][hit.HitSlot];
  if (t.State != 0) return;
  for (const net::PlayableTile& p : remote_->Playable()) {
    if (!((p.PipA == t.PipA && p.PipB == t.PipB) || (p.PipA == t.PipB && p.PipB == t.PipA)))
      continue;
    const bool both =
        p.End1 && p.End2 && state_.MoveNumber > 1 && state_.EndPips[1] != state_.EndPips[2];
    if (both) {
      endSlot_ = hit.HitSlot;  // the arrows ask which end
      return;
    }
    Send(remote_->MoveMessage(t.PipA, t.PipB, p.End1 && !p.End2 ? 1 : (p.End2 && !p.End1 ? 2 : 0)));
    remote_->Answered();
    endSlot_ = 0;
    return;
  }
}

int WebTable::LastLaidMove() const {
  if (!state_.HandInProgress && !revealed_) return 0;
  const int laid = state_.HandInProgress ? state_.MoveNumber - 1 : state_.MoveNumber;
  return std::min<int>(laid, static_cast<int>(state_.MoveRecord.size()) - 1);
}

std::string WebTable::Targets() const {
  Json out = Json::Array();
  const auto add = [&](const char* kind, const Rect& r, int a, int b) {
    out.Push(Json::Object()
                 .Set("kind", kind)
                 .Set("x", r.x)
                 .Set("y", r.y)
                 .Set("w", r.w)
                 .Set("h", r.h)
                 .Set("a", a)
                 .Set("b", b));
  };
  if (!notices_.empty()) {
    add("notice", NoticePanel(), 0, 0);
  } else if (remote_ && remote_->Asked()) {
    const int own = net::kOwnLocalSeat;
    if (endSlot_ != 0) {
      add("arrow", ArrowRect(1), 1, 0);
      add("arrow", ArrowRect(2), 2, 0);
    }
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = state_.Hand[own][slot];
      if (t.State != 0) continue;
      for (const net::PlayableTile& p : remote_->Playable()) {
        if ((p.PipA == t.PipA && p.PipB == t.PipB) || (p.PipA == t.PipB && p.PipB == t.PipA)) {
          add("tile", LookOfHandTile(state_, own, slot).Face, t.PipA, t.PipB);
        }
      }
    }
    add("continue", ContinueButton(), 0, 0);
  }
  return out.Dump();
}

}  // namespace tarvelis::web
