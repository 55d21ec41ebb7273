#include "player/expert_reading.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/move_rules.h"
#include "player/computer_player.h"
#include "player/expert_knowledge.h"

namespace tarvelis::expert {
namespace {

// The choice model's weights, per unit of each trait. The score gap to the
// computer player's best is cut at kGapFloor: far behind is far behind.
constexpr double kPerScore = 0.0128;
constexpr int kGapFloor = -100;
constexpr double kDouble = 0.44;
constexpr double kPerPip = 0.08;
constexpr double kPerKeptOfOpened = 0.5;     // own tiles left that show the pip opened
constexpr double kPerKeptOfCovered = -0.14;  // own tiles left that show the pip covered
constexpr double kPerKeptOfOtherEnd = 0.16;  // own tiles left that fit the other end
constexpr double kBothEndsSame = 0.52;
constexpr double kPerLaidOfOpened = 0.21;  // tiles on the table that show the pip opened

struct Traits {
  int Kept[3] = {0, 0, 0};  // opened, covered, other end
};

}  // namespace

double ExpertMoveLikelihood(const GameState& s, int seat, int tile, int matching) {
  const CandidateList list = ListCandidates(s, seat);
  if (list.Count < 2) return 1;
  const Evaluation e = EvaluateMove(s, seat, list);
  const int best = e.Candidates[e.Chosen].Score;
  std::array<int, kPips> laid{};
  for (int other = 1; other <= kSeats; ++other) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& h = s.Hand[other][slot];
      if (h.State == 0) continue;
      ++laid[h.PipA];
      if (h.PipB != h.PipA) ++laid[h.PipB];
    }
  }
  std::array<double, kMaxCandidates> utility{};
  int seen = -1;
  double top = -1e9;
  for (int i = 0; i < e.Count; ++i) {
    const Candidate c = e.Candidates[i].Move;
    const int t = TileIndex(c.Matching, c.Other);
    if (t == tile && c.Matching == matching) seen = i;
    const int otherEnd = s.EndPips[3 - EndForCandidate(s, c)];
    Traits k;
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& h = s.Hand[seat][slot];
      if (h.State != 0 || TileIndex(h.PipA, h.PipB) == t) continue;
      k.Kept[0] += h.PipA == c.Other || h.PipB == c.Other;
      k.Kept[1] += h.PipA == c.Matching || h.PipB == c.Matching;
      k.Kept[2] += h.PipA == otherEnd || h.PipB == otherEnd;
    }
    double u = kPerScore * std::max(kGapFloor, e.Candidates[i].Score - best);
    u += (c.Matching == c.Other ? kDouble : 0) + kPerPip * (c.Matching + c.Other);
    u += kPerKeptOfOpened * k.Kept[0] + kPerKeptOfCovered * k.Kept[1] +
         kPerKeptOfOtherEnd * k.Kept[2];
    u += (c.Other == otherEnd ? kBothEndsSame : 0) + kPerLaidOfOpened * laid[c.Other];
    utility[i] = u;
    top = std::max(top, u);
  }
  if (seen < 0) return 1;
  double sum = 0;
  for (int i = 0; i < e.Count; ++i) sum += std::exp(utility[i] - top);
  return std::exp(utility[seen] - top) / sum;
}

}  // namespace tarvelis::expert
