#!/usr/bin/env python3
"""The expert pair against the level-100 pair, both seatings, in rounds.

Round r plays `--matches` matches with the expert pair in seats 1 and 3
(seed 1000 + r) and as many with it in seats 2 and 4 (seed 2000 + r), every
seat a computer, every run checked. Prints the expert side's share of hands
won (a tied hand counts half for each side) with its binomial 95% interval,
each seating's share and the matches won.

    python3 bench/expert_pair.py build/src/tarvelis-sim 0 8 [--matches 60] [-- extra args]
"""
import argparse
import json
import math
import subprocess
import sys


def run(sim, seed, seats, matches, extra):
    cmd = [sim, "--seed", str(seed), "--matches", str(matches), "--automatic", "--check",
           "--levels", "100,100,100,100", "--json"]
    for seat in seats:
        cmd += ["--strategy", f"{seat}=expert"]
    out = json.loads(subprocess.run(["nice", "-n", "10"] + cmd + extra, capture_output=True,
                                    text=True, check=True).stdout)
    # Pair 1 is seats 2 and 4, pair 2 seats 1 and 3.
    side = 1 if seats == (1, 3) else 0
    won = out["hand_wins"]["pairs"][side] + 0.5 * out["tied_hands"]
    return out["hands"], won, out["wins"]["pairs"][side], out["matches"], out["checks"]["violations"]


def main():
    argv = sys.argv[1:]
    extra = argv[argv.index("--") + 1:] if "--" in argv else []
    argv = argv[:argv.index("--")] if "--" in argv else argv
    p = argparse.ArgumentParser()
    p.add_argument("sim")
    p.add_argument("first", type=int)
    p.add_argument("rounds", type=int)
    p.add_argument("--matches", type=int, default=60)
    a = p.parse_args(argv)
    totals = {(1, 3): [0, 0.0, 0, 0], (2, 4): [0, 0.0, 0, 0]}
    violations = 0
    for r in range(a.first, a.first + a.rounds):
        for seats, base in (((1, 3), 1000), ((2, 4), 2000)):
            hands, won, mwon, matches, bad = run(a.sim, base + r, seats, a.matches, extra)
            t = totals[seats]
            t[0] += hands
            t[1] += won
            t[2] += mwon
            t[3] += matches
            violations += bad
            print(f"round {r} seats {seats[0]},{seats[1]}: {won / hands:.3f} of {hands} hands",
                  flush=True)
    hands = sum(t[0] for t in totals.values())
    won = sum(t[1] for t in totals.values())
    share = won / hands
    half = 1.96 * math.sqrt(share * (1 - share) / hands)
    print(f"hands {hands} won {won} share {share:.4f} +- {half:.4f}")
    for seats, t in totals.items():
        print(f"seats {seats[0]} and {seats[1]}: {t[1] / max(1, t[0]):.4f} of {t[0]} hands")
    matches = sum(t[3] for t in totals.values())
    print(f"matches won {sum(t[2] for t in totals.values()) / matches:.4f} of {matches}")
    print(f"violations {violations}")


if __name__ == "__main__":
    main()
