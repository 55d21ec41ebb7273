#!/usr/bin/env python3
"""Fits a choice model of the expert's moves (a conditional logit over the
candidates of each decision) and prints how much it tells on held-out
decisions, in nats per decision over a blind guess among the candidates.

Input: files of lines printed, for each expert decision after the lead with
two or more candidates, by a temporary print in the simulator's expert case
(real state, before the expert's move is laid):

    DEC <candidates>
    C <chosen 0/1> <score - best score of the computer player, level 100>
      <double 0/1> <pips> <own tiles left showing the pip opened>
      <own tiles left showing the pip covered> <opened pip = other end 0/1>
      <tiles on the table showing the pip opened>
      <own tiles left fitting the other end> <tiles held> <tiles held>

(one C line per candidate, on one line).

    python3 bench/fit_expert_choice.py decisions*.txt
"""
import math
import random
import sys

NAMES = ["rules' best", "score gap/50", "double", "pips/12", "kept opened/3",
         "kept covered/3", "both ends same", "laid opened/7", "kept other end/3"]


def traits(c):
    _, gap, dbl, pips, kept_open, kept_cover, same, laid, kept_end = c[:9]
    return [1.0 if gap >= 0 else 0.0, max(gap, -100) / 50.0, dbl, pips / 12.0,
            kept_open / 3.0, kept_cover / 3.0, same, laid / 7.0, kept_end / 3.0]


def load(paths):
    decisions = []
    for path in paths:
        current = None
        for line in open(path):
            if line.startswith("DEC"):
                current = []
                decisions.append(current)
            elif line.startswith("C ") and current is not None:
                current.append([int(v) for v in line.split()[1:]])
    return [d for d in decisions if len(d) >= 2 and sum(c[0] for c in d) == 1]


def log_likelihood(decisions, w, sel):
    total = 0.0
    for d in decisions:
        us = [sum(w[j] * traits(c)[i] for j, i in enumerate(sel)) for c in d]
        top = max(us)
        z = sum(math.exp(u - top) for u in us)
        k = [c[0] for c in d].index(1)
        total += us[k] - top - math.log(z)
    return total / len(decisions)


def fit(decisions, sel, iterations=1200, rate=1.5):
    w = [0.0] * len(sel)
    for _ in range(iterations):
        g = [0.0] * len(sel)
        for d in decisions:
            xs = [[traits(c)[i] for i in sel] for c in d]
            us = [sum(a * b for a, b in zip(w, x)) for x in xs]
            top = max(us)
            ps = [math.exp(u - top) for u in us]
            z = sum(ps)
            k = [c[0] for c in d].index(1)
            for j in range(len(sel)):
                g[j] += xs[k][j] - sum(p / z * x[j] for p, x in zip(ps, xs))
        w = [a + rate * b / len(decisions) for a, b in zip(w, g)]
    return w


def main():
    decisions = load(sys.argv[1:])
    random.seed(1)
    random.shuffle(decisions)
    cut = len(decisions) * 2 // 3
    train, test = decisions[:cut], decisions[cut:]
    blind = sum(-math.log(len(d)) for d in test) / len(test)
    print(f"decisions {len(decisions)}, held out {len(test)}")
    for sel in ([0], [0, 1], [0, 1, 2, 3], list(range(len(NAMES)))):
        w = fit(train, sel)
        gain = log_likelihood(test, w, sel) - blind
        print(", ".join(f"{NAMES[i]} {x:.2f}" for i, x in zip(sel, w)), f": {gain:.3f} nats")


if __name__ == "__main__":
    main()
