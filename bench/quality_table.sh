#!/usr/bin/env bash
# The grids arrowgrid-solve gives for each list of bench/lists/ after 0.1, 1
# and 10 seconds, on one and two threads, beside another build's (run one
# after the other in the same run), and how long a proof takes where it ends
# within a minute. Prints a Markdown table: placed, unwanted neighbourhoods,
# crossings, surface, and which strategy found the grid.
#
#   bash bench/quality_table.sh OLD_SOLVER [NEW_SOLVER] [LIMITS] [PROOF_WORDS]
#
# OLD_SOLVER is arrowgrid-solve of an older commit; LIMITS the seconds to
# try (default "0.1 1 10"); proofs are timed on lists of at most
# PROOF_WORDS words (default 12), where they may end within the minute.
set -euo pipefail

old=${1:?usage: quality_table.sh OLD_SOLVER [NEW_SOLVER] [LIMITS] [PROOF_WORDS]}
new=${2:-build/arrowgrid-solve}
limits=${3:-0.1 1 10}
proofWords=${4:-12}
lists=$(cd "$(dirname "$0")/lists" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One run: its counts and strategy as "placed, unwanted, crossings, surface
# (strategy)"; the older build names no strategy.
grid() {  # solver list seconds threads
  "$1" --quiet --words "$lists/$2.txt" --time-limit "$3" -j "$4" --json "$work/run.json" >/dev/null || true
  python3 - "$work/run.json" <<'EOF'
import json, sys
d = json.load(open(sys.argv[1]))
c = d["counts"]
how = d.get("strategy", "")
print(f"{c['wordsPlaced']}, {c['unwantedNeighbourhoods']}, {c['crossings']}, {c['surface']}" + (f" ({how})" if how else ""))
EOF
}

# Seconds a proof takes on two threads, or "> 60 s".
proof() {  # solver list
  "$1" --quiet --words "$lists/$2.txt" --time-limit 60 -j 2 --json "$work/proof.json" >/dev/null || true
  python3 - "$work/proof.json" <<'EOF'
import json, sys
d = json.load(open(sys.argv[1]))
print(f"{d['elapsedSeconds']:.2f} s" if d["proven"] else "> 60 s")
EOF
}

echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
header="| list | words |"
rule="|---|---|"
for seconds in $limits; do
  for threads in 1 2; do
    header+=" ${seconds} s, ${threads} thr. |"
    rule+="---|"
  done
done
echo "$header old, 1 s, 2 thr. | old, 10 s, 2 thr. | proof, 2 thr. | old proof |"
echo "$rule---|---|---|---|"
for file in "$lists"/*.txt; do
  list=$(basename "$file" .txt)
  words=$(grep -vc '^#' "$file")
  row="| $list | $words |"
  for seconds in $limits; do
    for threads in 1 2; do row+=" $(grid "$new" "$list" "$seconds" "$threads") |"; done
  done
  row+=" $(grid "$old" "$list" 1 2) | $(grid "$old" "$list" 10 2) |"
  if [ "$words" -le "$proofWords" ]; then
    row+=" $(proof "$new" "$list") | $(proof "$old" "$list") |"
  else
    row+=" not run | not run |"
  fi
  echo "$row"
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
