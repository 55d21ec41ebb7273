// The browser's seat at a server's table, in plain C++: the same mirror of
// the table the desktop game keeps (net::RemoteTable over a GameState), the
// same layout rules and artwork cells, and what the page must draw and send.
// The page's script only carries text to and from the WebSocket, pointer
// presses in table pixels, and copies the draw list onto its canvas.
//
// The draw list is JSON: an array of operations in table pixels.
//   ["c", strip, sx, sy, w, h, dx, dy]          copy a strip's cell
//   ["m", strip, sx, sy, w, h, mx, my, dx, dy]  a shaped cell cut out by its mask
//   ["i", x, y, w, h]                           invert a rectangle (a played tile)
//   ["r", x, y, w, h, "#rrggbb", alpha]         fill a rectangle
//   ["t", x, y, px, bold, "#rrggbb", text]      text whose top left is (x, y)
//   ["k", move, pipA, pipB]                     (no drawing) the chain tile of a move
// Strips are numbered as the page loads them (WebStrip).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "layout/hand_layout.h"
#include "model/game_state.h"
#include "net/remote_table.h"

namespace tarvelis::web {

class DrawOps;

enum class WebStrip : int {
  Marmol,
  Dibujos,
  PunNeg,
  Puntitos,
  Dorsos,
  BmpVario,
  Piezas,
  Manos,
  Mensajes
};

// Where the page stands with the server, as the page's words say it.
enum class Stage : int { kIdle, kSitting, kWaitingPlayers, kPlaying, kFinished, kRefused };

class WebTable {
 public:
  WebTable(int tableW, int tableH);
  ~WebTable();
  WebTable(const WebTable&) = delete;
  WebTable& operator=(const WebTable&) = delete;

  // Sits at table `code`: with a kept token the seat is resumed, otherwise
  // the first free person's seat is taken under `name`.
  void Enter(const std::string& code, const std::string& token, const std::string& name);
  // The link was lost and is open again: the seat is taken up with its token.
  void Reopened();

  // One message from the server.
  void Received(std::string_view text);
  // A press at table point (x, y).
  void Press(int x, int y);

  // The requests to send, oldest first; taking them empties the queue.
  std::vector<std::string> TakeOutgoing();

  std::string DrawList() const;
  // Rectangles (table pixels) a player may press now: the playable tiles of
  // the seat's hand, or the end arrows while an end is asked, then the
  // continue button. JSON:
  // [{"kind":"tile"|"arrow"|"continue","x":..,"y":..,"w":..,"h":..,"a":..,"b":..}]
  std::string Targets() const;

  Stage CurrentStage() const { return stage_; }
  const std::string& Code() const { return code_; }
  const std::string& Token() const { return token_; }
  int Seat() const { return seat_; }
  // The line shown under the table: what the page waits for, or the
  // server's words for a refusal.
  const std::string& StatusText() const { return status_; }
  // Bumped whenever something drawn changed.
  int Version() const { return version_; }
  int HandNumber() const { return state_.HandNumber; }
  int TableWidth() const { return state_.Table.ScreenWidthPx; }
  int TableHeight() const { return state_.Table.ScreenHeightPx; }

  // The continue button's place on the table.
  Rect ContinueButton() const;
  // The notice shown over the table's middle; empty when none is.
  Rect NoticePanel() const;
  // The seat's own hand, where a narrow screen shows it a second time, larger.
  Rect OwnHandArea() const;

 private:
  void Send(std::string text);
  void SendJoin();
  void Present(const net::NetEvent& e);
  void PressWhileAsked(int x, int y);
  Rect ArrowRect(int end) const;
  int LastLaidMove() const;
  // The draw list's parts, in the order they are drawn.
  void DrawTiles(DrawOps& list) const;
  void DrawNames(DrawOps& list, bool onTable) const;
  void DrawScore(DrawOps& list) const;
  void DrawPrompts(DrawOps& list) const;
  void DrawNotice(DrawOps& list) const;

  GameState state_;
  std::unique_ptr<net::RemoteTable> remote_;
  std::vector<std::string> outgoing_;
  std::string code_;
  std::string token_;
  std::string name_;
  std::string status_;
  std::vector<std::pair<std::string, std::string>> notices_;  // title, text
  Stage stage_ = Stage::kIdle;
  int seat_ = 0;
  int tryingSeat_ = 0;
  bool startSent_ = false;
  bool revealed_ = false;
  bool domino_ = false;
  int endSlot_ = 0;  // the tile whose end is asked, 0 for none
  int passSeat_ = 0;
  int version_ = 0;
};

}  // namespace tarvelis::web
