// The headless table of the simulator: it also writes the trace, the recorder
// line of every move and the text of every message.
#pragma once

#include <ostream>

#include "engine/headless_port.h"

namespace tarvelis::sim {

class SimPort : public HeadlessPort {
 public:
  // `trace` may be null: nothing is written.
  SimPort(GameState* state, std::ostream* trace) : HeadlessPort(state), trace_(trace) {}

  bool ShowMessage(const std::string& title, const std::string& text, int picture,
                   int buttons) override;
  void RecorderLineAdded(int move, const std::string& text) override;
  bool ShowsRecorderLines() const override {
    return trace_ != nullptr || HeadlessPort::ShowsRecorderLines();
  }

 private:
  std::ostream* trace_;
};

}  // namespace tarvelis::sim
