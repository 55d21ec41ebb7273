// The page's entry points: plain C functions the page's script calls through
// the WebAssembly module. Strings come in as UTF-8 and go back as UTF-8 the
// script copies before its next call.
#include <emscripten/emscripten.h>

#include <memory>
#include <string>

#include "layout/table_view.h"
#include "model/texts.h"
#include "protocol/json.h"
#include "web/web_table.h"

namespace {

using tarvelis::server::Json;
using tarvelis::web::WebTable;

std::unique_ptr<WebTable> g_table;
std::string g_out;

const char* Out(std::string text) {
  g_out = std::move(text);
  return g_out.c_str();
}

const char* RectJson(const tarvelis::Rect& r) {
  return Out(Json::Object().Set("x", r.x).Set("y", r.y).Set("w", r.w).Set("h", r.h).Dump());
}

}  // namespace

extern "C" {

// The table laid out for a window of w x h CSS pixels: a landscape window
// gets the desktop's table for a screen of its size; a portrait one the
// smallest table, so its width fills the screen.
EMSCRIPTEN_KEEPALIVE const char* tv_table_for(int w, int h) {
  tarvelis::TableSize t{640, 480};
  if (w >= h)
    t = tarvelis::LogicalTableFor(std::max(w, 640), std::max(h, 480), tarvelis::TableLook::kScaled);
  return Out(Json::Object().Set("w", t.w).Set("h", t.h).Dump());
}

EMSCRIPTEN_KEEPALIVE void tv_new(int w, int h) {
  g_table = std::make_unique<WebTable>(w, h);
}

EMSCRIPTEN_KEEPALIVE void tv_enter(const char* code, const char* token, const char* name) {
  g_table->Enter(code, token, name);
}

EMSCRIPTEN_KEEPALIVE void tv_reopened() {
  g_table->Reopened();
}

EMSCRIPTEN_KEEPALIVE void tv_received(const char* text) {
  g_table->Received(text);
}

EMSCRIPTEN_KEEPALIVE void tv_press(int x, int y) {
  g_table->Press(x, y);
}

EMSCRIPTEN_KEEPALIVE const char* tv_outgoing() {
  Json list = Json::Array();
  for (std::string& m : g_table->TakeOutgoing()) list.Push(Json::String(std::move(m)));
  return Out(list.Dump());
}

EMSCRIPTEN_KEEPALIVE const char* tv_draw() {
  return Out(g_table->DrawList());
}

EMSCRIPTEN_KEEPALIVE const char* tv_targets() {
  return Out(g_table->Targets());
}

EMSCRIPTEN_KEEPALIVE const char* tv_state() {
  const WebTable& t = *g_table;
  return Out(Json::Object()
                 .Set("stage", static_cast<int>(t.CurrentStage()))
                 .Set("code", t.Code())
                 .Set("token", t.Token())
                 .Set("seat", t.Seat())
                 .Set("status", t.StatusText())
                 .Set("version", t.Version())
                 .Set("hand", t.HandNumber())
                 .Set("w", t.TableWidth())
                 .Set("h", t.TableHeight())
                 .Dump());
}

EMSCRIPTEN_KEEPALIVE const char* tv_own_hand() {
  return RectJson(g_table->OwnHandArea());
}

EMSCRIPTEN_KEEPALIVE const char* tv_continue_button() {
  return RectJson(g_table->ContinueButton());
}

// The page's own words, from the game's catalogue.
EMSCRIPTEN_KEEPALIVE const char* tv_texts() {
  using namespace tarvelis;
  return Out(Json::Object()
                 .Set("title", kNetMatchTitle)
                 .Set("code", kNetworkCodeLabel)
                 .Set("name", kNetworkNameLabel)
                 .Set("join", kNetworkJoinLabel)
                 .Set("badCode", kNetworkBadCode)
                 .Set("connecting", kNetworkConnecting)
                 .Set("lost", kNetLinkLost)
                 .Set("noServer", kNetworkDropped)
                 .Dump());
}

}  // extern "C"
