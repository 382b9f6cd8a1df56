#!/usr/bin/env bash
# A list with clues in a frame beside the same list unframed, runs
# alternating (A, B, A, B...): words placed, unwanted neighbourhoods,
# crossings, box, the clues kept out of their cells on the A4 page (the
# print's notes on standard error) and the time, as a Markdown table, with
# the median of each column.
#
#   bash bench/frame_table.sh [SOLVER] [LIST] [FRAME] [SECONDS] [RUNS]
#
# Defaults: build/arrowgrid-solve, bench/lists/ferme-40.tsv, 26x19 (a
# landscape frame of about the A4 page's proportions, in which every clue
# of that list fits its cell on A4), 5 s, 3 runs each, 2 threads.
set -euo pipefail

solver=${1:-build/arrowgrid-solve}
list=${2:-$(dirname "$0")/lists/ferme-40.tsv}
frame=${3:-26x19}
seconds=${4:-5}
runs=${5:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # label extra-arguments...
  local label=$1
  shift
  local start end
  start=$(date +%s.%N)
  "$solver" --quiet --words "$list" --time-limit "$seconds" -j 2 --json "$work/run.json" \
    --pdf "$work/grid" "$@" >/dev/null 2>"$work/err" || true
  end=$(date +%s.%N)
  python3 - "$work/run.json" "$work/err" "$label" "$start" "$end" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
err = open(sys.argv[2]).read().splitlines()
c, b = d["counts"], d["box"]
# Each clue that goes to the list under the grid is named on its own line
# or counted in one summary line, whichever the print says.
out = sum(1 for line in err if "does not fit" in line)
for line in err:
    if "did not fit" in line or "clues do not fit" in line:
        out = line
print(f"| {sys.argv[3]} | {c['wordsPlaced']} of {len(d['words'])} | {c['unwantedNeighbourhoods']} | "
      f"{c['crossings']} | {b['width']} x {b['height']} | {out} | {float(sys.argv[5]) - float(sys.argv[4]):.2f} s |")
PY
}

echo "| run | placed | unwanted | crossings | box | clues out of their cells | time |"
echo "|---|---|---|---|---|---|---|"
for ((i = 1; i <= runs; ++i)); do
  run "unframed $i"
  run "--frame $frame $i" --frame "$frame"
done
