#include "server/page_ledger.h"

namespace tarvelis::server {

PageLedger::Entry& PageLedger::At(const std::string& address, std::int64_t now) {
  auto it = addresses_.find(address);
  if (it == addresses_.end()) {
    const double perMinute = perMinute_;
    it =
        addresses_.emplace(address, Entry{0, FloodGate(perMinute / 60.0, perMinute), 0, now}).first;
  }
  it->second.LastAt = now;
  return it->second;
}

bool PageLedger::Open(const std::string& address, std::int64_t now) {
  Entry& e = At(address, now);
  if (e.Open >= maxOpen_ || (e.Refused >= kStrikes && !e.Requests.Ready(now))) return false;
  ++e.Open;
  return true;
}

void PageLedger::Close(const std::string& address, std::int64_t now) {
  const auto it = addresses_.find(address);
  if (it == addresses_.end() || it->second.Open == 0) return;
  --it->second.Open;
  it->second.LastAt = now;
}

bool PageLedger::Request(const std::string& address, std::int64_t now) {
  Entry& e = At(address, now);
  if (e.Requests.Admit(now)) {
    e.Refused = 0;
    return true;
  }
  ++e.Refused;
  return false;
}

void PageLedger::Prune(std::int64_t now) {
  for (auto it = addresses_.begin(); it != addresses_.end();) {
    if (it->second.Open == 0 && now - it->second.LastAt >= 60000) {
      it = addresses_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace tarvelis::server
