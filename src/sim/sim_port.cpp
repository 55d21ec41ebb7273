#include "sim/sim_port.h"

namespace tarvelis::sim {

bool SimPort::ShowMessage(const std::string& title, const std::string& text, int picture,
                          int buttons) {
  if (trace_ != nullptr) {
    // One line of the trace per line of the message.
    std::string lines;
    lines.reserve(text.size());
    for (char c : text) {
      if (c != '\r') lines += c;
    }
    *trace_ << "message " << title << '\n' << lines << '\n';
  }
  return HeadlessPort::ShowMessage(title, text, picture, buttons);
}

void SimPort::RecorderLineAdded(int move, const std::string& text) {
  if (trace_ != nullptr) *trace_ << text << '\n';
  HeadlessPort::RecorderLineAdded(move, text);
}

}  // namespace tarvelis::sim
