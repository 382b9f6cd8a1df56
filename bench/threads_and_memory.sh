#!/usr/bin/env bash
# Whether arrowgrid-solve keeps its time limit and bounds its memory whatever
# -j asks, and what its proof of A9 costs on one thread beside an older build.
#
#   bash bench/threads_and_memory.sh [SOLVER] [OLD_SOLVER] [RUNS]
#
# 1. -j 256 --time-limit 2 on 50 x CHAT and on 50 identical 100-letter words:
#    wall clock (target: within 2.5 s) and peak resident memory (target:
#    under 300 MB), medians of RUNS.
# 2. A9 on one thread, proven (a limit of 600 s, which older builds read
#    too): peak resident memory (target: 24 MB at most).
# 3. A9's proof on one thread, SOLVER and OLD_SOLVER alternating (the machine
#    is shared: medians of RUNS each): wall clock and processor time (user +
#    system), and their ratios. Default RUNS: 7.
# Run on demand, never in CI: it measures this machine and its load.
set -euo pipefail

new=${1:-build/arrowgrid-solve}
old=${2:-}
runs=${3:-7}
lists=$(cd "$(dirname "$0")/lists" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in $(seq 50); do echo CHAT; done >"$work/chat-50.txt"
long=$(printf 'ABCDEFGHIJ%.0s' $(seq 10))
for i in $(seq 50); do echo "$long"; done >"$work/long-50.txt"

# "wall user+system peak-KB" of one run.
measure() {  # solver arguments...
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
  tail -n 1 "$work/time" | awk '{printf "%s %.3f %s\n", $1, $2 + $3, $4}'
}

median() {  # column, from standard input
  sort -n -k"$1","$1" | awk -v c="$1" '{v[NR] = $c} END {print v[int((NR + 1) / 2)]}'
}

echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| list | -j | time limit | wall, median | peak RSS, median |"
echo "|---|---|---|---|---|"
for list in chat-50 long-50; do
  for i in $(seq "$runs"); do measure "$new" -q --words "$work/$list.txt" -j 256 --time-limit 2; done >"$work/runs"
  echo "| $list | 256 | 2 s | $(median 1 <"$work/runs") s | $(($(median 3 <"$work/runs") / 1024)) MB |"
done
for i in $(seq "$runs"); do measure "$new" -q --words "$lists/a9.txt" -j 1 --time-limit 600; done >"$work/runs"
echo "| a9 | 1 | 600 s (proven) | $(median 1 <"$work/runs") s | $(($(median 3 <"$work/runs") / 1024)) MB |"

if [ -n "$old" ]; then
  : >"$work/new" && : >"$work/old"
  for i in $(seq "$runs"); do
    measure "$new" -q --words "$lists/a9.txt" -j 1 --time-limit 600 >>"$work/new"
    measure "$old" -q --words "$lists/a9.txt" -j 1 --time-limit 600 >>"$work/old"
  done
  newWall=$(median 1 <"$work/new") newCpu=$(median 2 <"$work/new")
  oldWall=$(median 1 <"$work/old") oldCpu=$(median 2 <"$work/old")
  echo
  echo "| A9 proof, 1 thread | wall, median | user + system, median | peak RSS |"
  echo "|---|---|---|---|"
  echo "| $old | $oldWall s | $oldCpu s | $(($(median 3 <"$work/old") / 1024)) MB |"
  echo "| $new | $newWall s | $newCpu s | $(($(median 3 <"$work/new") / 1024)) MB |"
  echo "| ratio (old / new) | $(awk -v a="$oldWall" -v b="$newWall" 'BEGIN {printf "%.1f", a / b}') | $(awk -v a="$oldCpu" -v b="$newCpu" 'BEGIN {printf "%.1f", a / b}') | |"
fi
echo
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
