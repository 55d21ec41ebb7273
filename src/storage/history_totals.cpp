#include "storage/history_totals.h"

#include <algorithm>
#include <unordered_map>

namespace tarvelis {
namespace {

// One section's running totals, looked up by name or by the pair's two names
// in a fixed order.
class Tally {
 public:
  void AddName(const std::string& name, int amount) { Add(name, name, {}, amount); }

  void AddPair(const std::string& a, const std::string& b, int amount) {
    const bool inOrder = a <= b;
    const std::string& low = inOrder ? a : b;
    const std::string& high = inOrder ? b : a;
    // The first name's length keeps "ab"+"c" apart from "a"+"bc".
    std::string key = std::to_string(low.size()) + ':' + low + high;
    Add(key, a, b, amount);
  }

  // Appends the section's entries, largest first, then the blank lines.
  void AppendTo(std::vector<TotalEntry>& out, int section) {
    std::sort(entries_.begin(), entries_.end(), [](const TotalEntry& x, const TotalEntry& y) {
      if (x.Total != y.Total) return x.Total > y.Total;
      if (x.Name != y.Name) return x.Name > y.Name;
      return x.Partner > y.Partner;
    });
    for (TotalEntry& e : entries_) {
      e.Section = section;
      out.push_back(std::move(e));
    }
    while (out.size() % kHistoryPageSize != 0) out.push_back(TotalEntry{});
  }

 private:
  void Add(const std::string& key, const std::string& name, const std::string& partner,
           int amount) {
    auto [at, added] = index_.try_emplace(key, entries_.size());
    if (added) entries_.push_back(TotalEntry{});
    TotalEntry& e = entries_[at->second];
    e.Total += amount;
    e.Name = name;
    e.Partner = partner;
  }

  std::unordered_map<std::string, size_t> index_;
  std::vector<TotalEntry> entries_;
};

}  // namespace

std::vector<TotalEntry> ComputeTotals(const std::vector<HistoryMatch>& matches) {
  Tally won, points, pairsWon, pairPoints;
  for (const HistoryMatch& m : matches) {
    const auto& n = m.Names;
    if (m.Pairs) {
      won.AddName(n[0], 1);
      won.AddName(n[1], 1);
      for (int k = 0; k < 4; ++k) points.AddName(n[k], m.Points[k < 2 ? 0 : 1]);
      pairsWon.AddPair(n[0], n[1], 1);
      pairPoints.AddPair(n[0], n[1], m.Points[0]);
      pairPoints.AddPair(n[2], n[3], m.Points[1]);
    } else {
      won.AddName(n[0], 1);
      for (int k = 0; k < 4; ++k) points.AddName(n[k], m.Points[k]);
    }
  }
  std::vector<TotalEntry> totals;
  won.AppendTo(totals, 1);
  points.AppendTo(totals, 2);
  pairsWon.AppendTo(totals, 3);
  pairPoints.AppendTo(totals, 4);
  return totals;
}

}  // namespace tarvelis
