#include "sim/sim_options.h"

#include <charconv>

namespace tarvelis::sim {
namespace {

bool ToInt(const std::string& text, long long low, long long high, long long& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= low && value <= high;
}

// "A,B,C,D" into four levels 0..100.
bool ParseLevels(const std::string& text, std::array<int, 5>& levels) {
  size_t start = 0;
  for (int seat = 1; seat <= 4; ++seat) {
    const size_t comma = text.find(',', start);
    if ((seat < 4) != (comma != std::string::npos)) return false;
    long long v;
    if (!ToInt(text.substr(start, comma - start), 0, 100, v)) return false;
    levels[seat] = static_cast<int>(v);
    start = comma + 1;
  }
  return true;
}

// "SEAT=NAME", NAME one of the strategies of the usage text.
bool ParseStrategy(const std::string& text, std::array<Strategy, 5>& strategies) {
  const size_t eq = text.find('=');
  long long seat;
  if (eq == std::string::npos || !ToInt(text.substr(0, eq), 1, 4, seat)) return false;
  const std::string name = text.substr(eq + 1);
  if (name == "engine") {
    strategies[seat] = Strategy::kEngine;
  } else if (name == "random") {
    strategies[seat] = Strategy::kRandom;
  } else if (name == "heaviest") {
    strategies[seat] = Strategy::kHeaviest;
  } else if (name == "doubles") {
    strategies[seat] = Strategy::kDoubles;
  } else if (name == "variety") {
    strategies[seat] = Strategy::kVariety;
  } else if (name == "sampled") {
    strategies[seat] = Strategy::kSampled;
  } else if (name == "expert") {
    strategies[seat] = Strategy::kExpert;
  } else {
    return false;
  }
  return true;
}

}  // namespace

const char* UsageText() {
  return "usage: tarvelis-sim [--matches N] [--seed S] [--settings FILE]\n"
         "                    [--save-after-move N FILE] [--screen WxH] [--levels L1,L2,L3,L4]\n"
         "                    [--strategy SEAT=engine|random|heaviest|doubles|variety|\n"
         "                                     sampled|expert ...]\n"
         "                    [--expert-deals N] [--expert-exact TILES]\n"
         "                    [--expert-playout doubles|greedy] [--expert-uniform]\n"
         "                    [--sampled-deals N] [--automatic]\n"
         "                    [--rule NAME=VALUE ...] [--vary-rules]\n"
         "                    [--trace [--explain]] [--check] [--json] [--time]\n";
}

bool ParseOptions(const std::vector<std::string>& args, SimOptions& o, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* what) -> const std::string* {
      if (i + 1 >= args.size()) {
        error = a + " needs " + what;
        return nullptr;
      }
      return &args[++i];
    };
    long long v;
    if (a == "--matches" || a == "--seed") {
      const std::string* text = value("a number");
      if (text == nullptr) return false;
      const bool seed = a == "--seed";
      if (!ToInt(*text, seed ? 0 : 1, seed ? 4294967295LL : 100000000LL, v)) {
        error = "bad value for " + a + ": " + *text;
        return false;
      }
      if (seed) {
        o.Seed = static_cast<std::uint32_t>(v);
      } else {
        o.Matches = static_cast<int>(v);
      }
    } else if (a == "--expert-deals" || a == "--sampled-deals") {
      const std::string* text = value("a number");
      if (text == nullptr) return false;
      if (!ToInt(*text, 1, 100000, v)) {
        error = "bad value for " + a + ": " + *text;
        return false;
      }
      (a == "--expert-deals" ? o.ExpertDeals : o.SampledDeals) = static_cast<int>(v);
    } else if (a == "--expert-exact") {
      const std::string* text = value("a number of tiles");
      if (text == nullptr) return false;
      if (!ToInt(*text, 0, 28, v)) {
        error = "bad value for " + a + ": " + *text;
        return false;
      }
      o.ExpertExactTiles = static_cast<int>(v);
    } else if (a == "--expert-playout") {
      const std::string* text = value("doubles or greedy");
      if (text == nullptr) return false;
      if (*text != "doubles" && *text != "greedy") {
        error = "bad value for " + a + ": " + *text;
        return false;
      }
      o.ExpertPlayout = *text == "greedy" ? 1 : 0;
    } else if (a == "--expert-uniform") {
      o.ExpertUniform = true;
    } else if (a == "--automatic") {
      o.Automatic = true;
    } else if (a == "--settings") {
      const std::string* text = value("a file");
      if (text == nullptr) return false;
      o.SettingsFile = *text;
    } else if (a == "--save-after-move") {
      const std::string* n = value("a move number and a file");
      if (n == nullptr) return false;
      if (!ToInt(*n, 1, 1000, v)) {
        error = "bad move number: " + *n;
        return false;
      }
      o.SaveAfterMove = static_cast<int>(v);
      const std::string* file = value("a file");
      if (file == nullptr) return false;
      o.SaveFile = *file;
    } else if (a == "--screen") {
      const std::string* text = value("WxH");
      if (text == nullptr) return false;
      const size_t x = text->find('x');
      long long w, h;
      if (x == std::string::npos || !ToInt(text->substr(0, x), 1, 10000, w) ||
          !ToInt(text->substr(x + 1), 1, 10000, h)) {
        error = "bad screen size: " + *text;
        return false;
      }
      o.ScreenWidth = static_cast<int>(w);
      o.ScreenHeight = static_cast<int>(h);
    } else if (a == "--levels") {
      const std::string* text = value("four levels");
      if (text == nullptr) return false;
      if (!ParseLevels(*text, o.Levels)) {
        error = "bad levels: " + *text;
        return false;
      }
      o.HaveLevels = true;
    } else if (a == "--strategy") {
      const std::string* text = value("SEAT=NAME");
      if (text == nullptr) return false;
      if (!ParseStrategy(*text, o.Strategies)) {
        error = "bad strategy: " + *text;
        return false;
      }
    } else if (a == "--rule") {
      const std::string* text = value("NAME=VALUE");
      if (text == nullptr) return false;
      const size_t eq = text->find('=');
      if (eq == std::string::npos || !ToInt(text->substr(eq + 1), -32768, 32767, v)) {
        error = "bad rule: " + *text;
        return false;
      }
      o.Rules.emplace_back(text->substr(0, eq), static_cast<int>(v));
    } else if (a == "--vary-rules") {
      o.VaryRules = true;
    } else if (a == "--trace") {
      o.Trace = true;
    } else if (a == "--explain") {
      o.Explain = true;
    } else if (a == "--check") {
      o.Check = true;
    } else if (a == "--json") {
      o.Json = true;
    } else if (a == "--time") {
      o.Time = true;
    } else if (a == "--no-time") {
      o.Time = false;
    } else if (a == "--help" || a == "-h") {
      o.Help = true;
    } else {
      error = "unknown option: " + a;
      return false;
    }
  }
  return true;
}

}  // namespace tarvelis::sim
