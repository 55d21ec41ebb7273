// What the browser's page draws, as a list of operations: strip copies,
// masked copies, fills and texts, every number a table pixel. The page's
// script copies them without a check, so the list is made only here.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "layout/artwork_layout.h"
#include "model/table_geometry.h"
#include "protocol/json.h"
#include "web/web_table.h"

namespace tarvelis::web {

// The letters' sizes of the desktop's table, in table pixels.
constexpr int kTextPx = 12;
constexpr int kSmallTextPx = 11;
constexpr const char* kInk = "#f2e8c8";
// A notice's lines are cut at this many characters, between words.
constexpr std::size_t kNoticeChars = 48;

int StripOf(Strip s);
// Words that wrap a notice's text into lines of at most `chars` characters.
std::vector<std::string> Wrapped(const std::string& raw, std::size_t chars);

// Builds the draw list the page copies onto its canvas; every number is a
// table pixel.
class DrawOps {
 public:
  void Copy(WebStrip strip, int sx, int sy, int w, int h, int dx, int dy) {
    Op(server::Json::String("c"), {static_cast<int>(strip), sx, sy, w, h, dx, dy});
  }
  void Copy(int strip, int sx, int sy, int w, int h, int dx, int dy) {
    Op(server::Json::String("c"), {strip, sx, sy, w, h, dx, dy});
  }
  void Masked(WebStrip strip, int sx, int sy, int w, int h, int mx, int my, int dx, int dy) {
    Op(server::Json::String("m"), {static_cast<int>(strip), sx, sy, w, h, mx, my, dx, dy});
  }
  void Invert(const Rect& r) { Op(server::Json::String("i"), {r.x, r.y, r.w, r.h}); }
  void Fill(const Rect& r, const char* colour, int alpha) {
    server::Json op = server::Json::Array();
    op.Push(server::Json::String("r"));
    for (int v : {r.x, r.y, r.w, r.h}) op.Push(server::Json::Number(v));
    op.Push(server::Json::String(colour)).Push(server::Json::Number(alpha));
    list_.Push(std::move(op));
  }
  void Text(int x, int y, int px, bool bold, const char* colour, const std::string& text) {
    server::Json op = server::Json::Array();
    op.Push(server::Json::String("t"));
    for (int v : {x, y, px, bold ? 1 : 0}) op.Push(server::Json::Number(v));
    op.Push(server::Json::String(colour)).Push(server::Json::String(text));
    list_.Push(std::move(op));
  }
  void Tag(int move, int a, int b) { Op(server::Json::String("k"), {move, a, b}); }
  void Pips(const PipCell& cell) {
    if (cell.Draw)
      Copy(StripOf(cell.From), cell.Src.x, cell.Src.y, cell.Dst.w, cell.Dst.h, cell.Dst.x,
           cell.Dst.y);
  }
  std::string Dump() const { return list_.Dump(); }

 private:
  void Op(server::Json kind, std::initializer_list<int> values) {
    server::Json op = server::Json::Array();
    op.Push(std::move(kind));
    for (int v : values) op.Push(server::Json::Number(v));
    list_.Push(std::move(op));
  }
  server::Json list_ = server::Json::Array();
};

}  // namespace tarvelis::web
