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

namespace tarvelis::web {
namespace {

using server::Json;

constexpr server::JsonLimits kServerLimits{1 << 16, 8, 256};
// The letters' sizes of the desktop's table, in table pixels.
constexpr int kTextPx = 12;
constexpr int kSmallTextPx = 11;
constexpr const char* kInk = "#f2e8c8";
// A notice's lines are cut at this many characters, between words.
constexpr std::size_t kNoticeChars = 48;

int StripOf(Strip s) {
  switch (s) {
    case Strip::Dibujos:
      return static_cast<int>(WebStrip::Dibujos);
    case Strip::PunNeg:
      return static_cast<int>(WebStrip::PunNeg);
    case Strip::Puntitos:
      return static_cast<int>(WebStrip::Puntitos);
    case Strip::Manos:
      return static_cast<int>(WebStrip::Manos);
  }
  return 0;
}

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Builds the draw list; every number is a table pixel.
class Ops {
 public:
  void Copy(WebStrip strip, int sx, int sy, int w, int h, int dx, int dy) {
    Op(Json::String("c"), {static_cast<int>(strip), sx, sy, w, h, dx, dy});
  }
  void Copy(int strip, int sx, int sy, int w, int h, int dx, int dy) {
    Op(Json::String("c"), {strip, sx, sy, w, h, dx, dy});
  }
  void Masked(WebStrip strip, int sx, int sy, int w, int h, int mx, int my, int dx, int dy) {
    Op(Json::String("m"), {static_cast<int>(strip), sx, sy, w, h, mx, my, dx, dy});
  }
  void Invert(const Rect& r) { Op(Json::String("i"), {r.x, r.y, r.w, r.h}); }
  void Fill(const Rect& r, const char* colour, int alpha) {
    Json op = Json::Array();
    op.Push(Json::String("r"));
    for (int v : {r.x, r.y, r.w, r.h}) op.Push(Json::Number(v));
    op.Push(Json::String(colour)).Push(Json::Number(alpha));
    list_.Push(std::move(op));
  }
  void Text(int x, int y, int px, bool bold, const char* colour, const std::string& text) {
    Json op = Json::Array();
    op.Push(Json::String("t"));
    for (int v : {x, y, px, bold ? 1 : 0}) op.Push(Json::Number(v));
    op.Push(Json::String(colour)).Push(Json::String(text));
    list_.Push(std::move(op));
  }
  void Tag(int move, int a, int b) { Op(Json::String("k"), {move, a, b}); }
  void Pips(const PipCell& cell) {
    if (cell.Draw)
      Copy(StripOf(cell.From), cell.Src.x, cell.Src.y, cell.Dst.w, cell.Dst.h, cell.Dst.x,
           cell.Dst.y);
  }
  std::string Dump() const { return list_.Dump(); }

 private:
  void Op(Json kind, std::initializer_list<int> values) {
    Json op = Json::Array();
    op.Push(std::move(kind));
    for (int v : values) op.Push(Json::Number(v));
    list_.Push(std::move(op));
  }
  Json list_ = Json::Array();
};

// Words that wrap a notice's text into lines of at most `chars` characters.
std::vector<std::string> Wrapped(const std::string& raw, std::size_t chars) {
  // The game's messages end their lines with CR LF.
  std::string text;
  for (const char c : raw)
    if (c != '\r') text += c;
  std::vector<std::string> lines;
  std::string line;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(" \n", start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() &&
        static_cast<std::size_t>(Utf8Length(line) + 1 + Utf8Length(word)) > chars) {
      lines.push_back(line);
      line.clear();
    }
    if (!word.empty()) line += (line.empty() ? "" : " ") + word;
    if (end < text.size() && text[end] == '\n') {
      lines.push_back(line);
      line.clear();
    }
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

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

std::string WebTable::DrawList() const {
  Ops list;
  const TableGeometry& g = state_.Table;
  const int w = g.ScreenWidthPx;
  const int h = g.ScreenHeightPx;
  // The marble, repeated without a seam.
  for (int y = 0; y < h; y += art::kMarmolSize.h) {
    for (int x = 0; x < w; x += art::kMarmolSize.w) {
      list.Copy(WebStrip::Marmol, 0, 0, std::min(art::kMarmolSize.w, w - x),
                std::min(art::kMarmolSize.h, h - y), x, y);
    }
  }
  const bool onTable = state_.HandInProgress || revealed_;
  if (onTable) {
    for (int move = 1; move <= LastLaidMove(); ++move) {
      const MoveEntry& e = state_.MoveRecord[static_cast<std::size_t>(move)];
      if (e[kFEnd] != 1 && e[kFEnd] != 2) continue;
      list.Tag(move, e[kFPipA], e[kFPipB]);
      list.Masked(WebStrip::Dibujos, e[kFTileImageX], 0, e[kFTileWidth], e[kFTileHeight],
                  e[kFTileImageX], art::kDibujosMaskRow, e[kFTileLeft], e[kFTileTop]);
      list.Pips(TablePipCell(e[kFPipA], Point{e[kFPipAX], e[kFPipAY]}, e[kFPipOrientation]));
      list.Pips(TablePipCell(e[kFPipB], Point{e[kFPipBX], e[kFPipBY]}, e[kFPipOrientation]));
    }
    GameState view = state_;
    if (revealed_) {
      for (int s = 1; s <= kSeats; ++s) view.SeatTilesShown[s] = kTilesVisible;
    }
    for (int seat = 1; seat <= kSeats; ++seat) {
      for (int slot = 1; slot <= kSlots; ++slot) {
        const HandTileLook look = LookOfHandTile(view, seat, slot);
        if (look.Show == TileShow::FaceUp) {
          const int strip = StripOf(look.FaceStrip);
          if (look.FaceMasked) {
            list.Masked(static_cast<WebStrip>(strip), look.FaceSrc.x, look.FaceSrc.y, look.Face.w,
                        look.Face.h, look.FaceMaskSrc.x, look.FaceMaskSrc.y, look.Face.x,
                        look.Face.y);
          } else {
            list.Copy(strip, look.FaceSrc.x, look.FaceSrc.y, look.Face.w, look.Face.h, look.Face.x,
                      look.Face.y);
          }
          list.Pips(look.PipA);
          list.Pips(look.PipB);
          if (look.Inverted) list.Invert(look.Invert);
        } else if (look.Show == TileShow::FaceDown) {
          list.Masked(WebStrip::Dorsos, look.BackSrc.x, look.BackSrc.y, look.Back.w, look.Back.h,
                      look.BackMaskSrc.x, look.BackMaskSrc.y, look.Back.x, look.Back.y);
        }
      }
    }
  }
  // The seats' names, written beside their hands.
  for (int seat = 1; seat <= kSeats; ++seat) {
    const std::string name = Trimmed(state_.SeatName[seat]);
    if (name.empty()) continue;
    const bool hidden = onTable && !revealed_ && state_.SeatTilesShown[seat] == kTilesHidden;
    if (hidden) {
      // Spelt along the hand, one letter every 16 pixels.
      std::vector<std::string> letters;
      for (const char c : name) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 || letters.empty())
          letters.emplace_back();
        letters.back() += c;
      }
      const int count = std::min<int>(SpacedLetterRoom(seat), static_cast<int>(letters.size()));
      for (int i = 0; i < count; ++i) {
        const Point p = SpacedLetterPoint(g, seat, i + 1);
        list.Text(p.x, p.y, kTextPx, true, kInk, letters[static_cast<std::size_t>(i)]);
      }
    } else {
      const Point p = WholeNamePoint(g, seat);
      list.Text(p.x, p.y, kSmallTextPx, false, kInk, name);
    }
  }
  // Of the bar only the score: the other buttons (a new match, the
  // settings, the tutor, the exit) belong to the game at home.
  {
    const ButtonPlace b = PlaceOfButton(kScoreButton, g);
    const ButtonCell c = CellOfButton(kScoreButton);
    list.Masked(WebStrip::BmpVario, c.imageX, c.imageY, b.w, b.h, c.maskX, c.maskY, b.x, b.y);
    const art::Cell a = art::kScoreArea;
    const bool pairs = state_.RuleMode == kModePairs;
    const int n = pairs ? 2 : kSeats;
    for (int i = 1; i <= n; ++i) {
      const int total = pairs ? state_.PairTotal[i] : state_.SeatTotal[i];
      const int rowH = a.h / n;
      list.Text(b.x + a.x + 4, b.y + a.y + (i - 1) * rowH + (rowH - kSmallTextPx) / 2, kSmallTextPx,
                true, "#102cb8", std::to_string(total));
    }
  }
  if (passSeat_ != 0 && state_.HandInProgress) {
    const Rect hand = HandArea(g, passSeat_);
    const int pw = art::kPassSign.w;
    const int ph = art::kPassSign.h;
    Point at{hand.x + (hand.w - pw) / 2, hand.y + (hand.h - ph) / 2};
    list.Masked(WebStrip::Piezas, art::kPassSign.x, art::kPassSign.y, pw, ph, art::kPassSignMask.x,
                art::kPassSignMask.y, at.x, at.y);
  }
  if (revealed_ && domino_) {
    const Rect c = ContinueButton();
    list.Masked(WebStrip::Piezas, art::kDomino.x, art::kDomino.y, art::kDomino.w, art::kDomino.h,
                art::kDominoMask.x, art::kDominoMask.y, c.x + c.w - art::kDomino.w,
                c.y - art::kDomino.h - 8);
  }
  if (remote_ && remote_->Asked()) {
    // The continue button with the seat's name: pressed, the computer
    // chooses the move.
    const Rect c = ContinueButton();
    list.Masked(WebStrip::Piezas, art::kContinueButton.x, art::kContinueButton.y, c.w, c.h,
                art::kContinueButtonMask.x, art::kContinueButtonMask.y, c.x, c.y);
    const std::string label = Utf8Prefix(Trimmed(state_.SeatName[net::kOwnLocalSeat]), 10);
    list.Text(c.x + 6, c.y + (c.h - kTextPx) / 2 - 1, kTextPx, true, "#000000", label);
    if (endSlot_ != 0) {
      const Rect r1 = ArrowRect(1);
      const Rect r2 = ArrowRect(2);
      list.Masked(WebStrip::Piezas, art::kArrowRight.x, art::kArrowRight.y, r1.w, r1.h,
                  art::kArrowRightMask.x, art::kArrowRightMask.y, r1.x, r1.y);
      list.Masked(WebStrip::Piezas, art::kArrowLeft.x, art::kArrowLeft.y, r2.w, r2.h,
                  art::kArrowLeftMask.x, art::kArrowLeftMask.y, r2.x, r2.y);
    }
  }
  if (!notices_.empty()) {
    // The notice over the table's middle, as the desktop's message shows it.
    const auto& [title, text] = notices_.front();
    const std::vector<std::string> lines = Wrapped(text, kNoticeChars);
    const Rect panel = NoticePanel();
    const int pw = panel.w;
    list.Fill(panel, "#f3efe4", 240);
    list.Fill(Rect{panel.x, panel.y, pw, 22}, "#0e3b27", 255);
    list.Text(panel.x + 8, panel.y + 4, kTextPx, true, kInk, title);
    const art::Cell pic = art::MessagePictureOpaque(1);
    list.Copy(static_cast<int>(WebStrip::Mensajes), pic.x, pic.y, pic.w, pic.h, panel.x + 8,
              panel.y + 28);
    int y = panel.y + 32;
    for (const std::string& line : lines) {
      list.Text(panel.x + 8 + pic.w + 8, y, kTextPx, false, "#000000", line);
      y += 16;
    }
  }
  return list.Dump();
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
