#!/bin/bash
# Measures the ratings the server gives its computer players: levels 0, 25,
# 50, 75 and 100 and the expert (weighing 200 deals a move, as a server's
# expert seat does) play pairs matches against each other with
# tarvelis-sim, each pairing in both seatings, and a Bradley-Terry fit of
# the matches won (the logistic curve Glicko-2 and Elo share: 400 points
# for odds of ten to one) gives each player a rating, level 50 at 1500.
#
#   scripts/measure-ratings.sh BUILD_DIR [OUT_DIR]
#
# LEVEL_MATCHES (10000) matches a seating between two levels, EXPERT_MATCHES
# (500) a seating against the expert, whose moves cost some 0.05 s of a core
# a hand. Every run has a seed of its own, so the same counts give the same
# figures. Prints the matches, then each player's rating with its standard
# error and 95% interval, and leaves both in OUT_DIR (default: a new
# temporary folder).
set -euo pipefail

build=${1:?usage: measure-ratings.sh BUILD_DIR [OUT_DIR]}
out=${2:-$(mktemp -d)}
sim="$build/src/tarvelis-sim"
level_matches=${LEVEL_MATCHES:-10000}
expert_matches=${EXPERT_MATCHES:-500}
mkdir -p "$out"
results="$out/matches.tsv"
: >"$results"

players=(0 25 50 75 100 E)

# Seats 1 and 3 play as A, seats 2 and 4 as B.
seat_args() {
  local a=$1 b=$2 la=$1 lb=$2 args=()
  [ "$a" = E ] && la=100
  [ "$b" = E ] && lb=100
  args+=(--levels "$la,$lb,$la,$lb")
  [ "$a" = E ] && args+=(--strategy 1=expert --strategy 3=expert)
  [ "$b" = E ] && args+=(--strategy 2=expert --strategy 4=expert)
  echo "${args[@]}"
}

# Plays A (seats 1 and 3) against B and appends "A B winsA winsB hands".
play() {
  local a=$1 b=$2 matches=$3 seed=$4 json
  # shellcheck disable=SC2046
  json=$(nice -n 10 "$sim" --automatic --check --json --expert-deals 200 \
    --matches "$matches" --seed "$seed" $(seat_args "$a" "$b"))
  python3 - "$a" "$b" "$json" >>"$results" <<'EOF'
import json, sys
a, b, r = sys.argv[1], sys.argv[2], json.loads(sys.argv[3])
# The simulator lists pair 2 (seats 2 and 4) first, then pair 1 (seats 1 and 3).
print(a, b, r["wins"]["pairs"][1], r["wins"]["pairs"][0], r["hands"], sep="\t")
EOF
}

seed=100
for ((i = 0; i < ${#players[@]}; i++)); do
  for ((j = i + 1; j < ${#players[@]}; j++)); do
    a=${players[i]} b=${players[j]}
    n=$level_matches
    [ "$a" = E ] || [ "$b" = E ] && n=$expert_matches
    play "$a" "$b" "$n" $((seed++))
    play "$b" "$a" "$n" $((seed++))
  done
done

cat "$results"
python3 - "$results" <<'EOF' | tee "$out/ratings.txt"
# Bradley-Terry by Newton's method on the log-likelihood of the matches won,
# level 50 held at 1500; the standard errors come from the inverse of the
# information matrix with that anchor removed.
import math, sys
scale = 400 / math.log(10)
games = {}
for line in open(sys.argv[1]):
    a, b, wa, wb, _ = line.split("\t")
    key = (a, b)
    w = games.setdefault(key, [0, 0])
    w[0] += int(wa)
    w[1] += int(wb)
names = sorted({p for k in games for p in k}, key=lambda p: (p == "E", int(p) if p != "E" else 0))
free = [p for p in names if p != "50"]
r = {p: 0.0 for p in names}
def solve(m, v):
    n = len(v)
    m = [row[:] + [v[i]] for i, row in enumerate(m)]
    for c in range(n):
        p = max(range(c, n), key=lambda i: abs(m[i][c]))
        m[c], m[p] = m[p], m[c]
        for i in range(n):
            if i != c:
                f = m[i][c] / m[c][c]
                m[i] = [x - f * y for x, y in zip(m[i], m[c])]
    return [m[i][n] / m[i][i] for i in range(n)]
def inverse(m):
    n = len(m)
    return [solve(m, [1.0 if i == k else 0.0 for i in range(n)]) for k in range(n)]
for _ in range(50):
    grad = {p: 0.0 for p in names}
    info = {p: {q: 0.0 for q in names} for p in names}
    for (a, b), (wa, wb) in games.items():
        e = 1 / (1 + math.exp(-(r[a] - r[b])))
        n = wa + wb
        grad[a] += wa - n * e
        grad[b] -= wa - n * e
        h = n * e * (1 - e)
        info[a][a] += h; info[b][b] += h; info[a][b] -= h; info[b][a] -= h
    m = [[info[p][q] for q in free] for p in free]
    step = solve(m, [grad[p] for p in free])
    for p, s in zip(free, step):
        r[p] += s
    if max(abs(s) for s in step) < 1e-10:
        break
cov = inverse(m)
print("player\trating\tstd_error\tinterval_95\tmatches")
for p in names:
    played = sum(sum(w) for k, w in games.items() if p in k)
    se = 0.0 if p == "50" else math.sqrt(cov[free.index(p)][free.index(p)]) * scale
    label = "expert" if p == "E" else "level " + p
    print(f"{label}\t{1500 + r[p] * scale:.0f}\t{se:.0f}\t±{1.96 * se:.0f}\t{played}")
EOF
