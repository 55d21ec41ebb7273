// What the networked match and the ways to a table share: a bounded wait
// that keeps the window answering, and the reading of a message's type.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <string>

#include "protocol/json.h"
#include "protocol/protocol.h"

namespace tarvelis {

// Runs the window's events until `done` holds, `stop` holds or `ms` pass.
// Every wait here is bounded and sleeps on events; a timer wakes it to
// look at the clock, so a wait costs no processor time.
template <class Done>
bool WaitFor(Done done, const std::function<bool()>& stop, qint64 ms) {
  QElapsedTimer clock;
  clock.start();
  QTimer tick;
  tick.start(50);
  while (!done()) {
    if ((stop && stop()) || clock.elapsed() >= ms) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
  }
  return true;
}

inline std::string TypeOf(const std::string& text) {
  const auto j = server::ParseJson(text, server::JsonLimits{1 << 16, 8, 256});
  if (!j || !j->IsObject()) return {};
  return j->StringAt("type", 32).value_or("");
}

// A request with no members but its type.
inline std::string Request(const char* type) {
  return server::Json::Object().Set("v", server::kProtocolVersion).Set("type", type).Dump();
}

}  // namespace tarvelis
