#!/usr/bin/env bash
# The whole program in script form against another build of it, side by side
# in one run (hyperfine, one command after the other, medians): A8 in
# selection mode 2 and A7 in selection mode 0, both with no pause, with the
# workers and on one processor. Both must write the same snapshots.
#
#   bash bench/compare_with_binary.sh OLD_BINARY [NEW_BINARY] [RUNS]
#
# OLD_BINARY is typically build/arrowgrid of an older commit, built in a
# worktree of its own (git worktree add /tmp/old COMMIT, then the usual build).
set -euo pipefail

old=${1:?usage: compare_with_binary.sh OLD_BINARY [NEW_BINARY] [RUNS]}
new=${2:-build/arrowgrid}
runs=${3:-9}
command -v hyperfine >/dev/null || { echo "compare_with_binary.sh: hyperfine is needed (apt-get install hyperfine)" >&2; exit 1; }
lists=$(cd "$(dirname "$0")/lists" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two intro pauses, the words, the end of the list, the answers to the two
# questions; the input then ends at the end-of-search pause (status 3).
session() {  # list selection-mode
  printf '\n\n'
  grep -v '^#' "$lists/$1.txt"
  printf '\nO\n%s\n0\n' "$2"
}
session a8 2 >"$work/a8-mode2.in"
session a7 0 >"$work/a7-mode0.in"

for input in a8-mode2 a7-mode0; do
  "$old" --script <"$work/$input.in" >"$work/$input.old" 2>/dev/null || true
  "$new" --script <"$work/$input.in" >"$work/$input.new" 2>/dev/null || true
  if ! cmp -s "$work/$input.old" "$work/$input.new"; then
    echo "compare_with_binary.sh: $input: the two binaries wrote different snapshots" >&2
    exit 1
  fi
  echo "$input: same snapshots ($(wc -c <"$work/$input.new") bytes)"
done

for input in a8-mode2 a7-mode0; do
  hyperfine -N -i -w 1 -r "$runs" --export-json "$work/$input.json" \
    -n old "sh -c '\"$old\" --script <\"$work/$input.in\" >/dev/null 2>&1'" \
    -n new "sh -c '\"$new\" --script <\"$work/$input.in\" >/dev/null 2>&1'" \
    -n "new, one processor" "sh -c 'taskset -c 0 \"$new\" --script <\"$work/$input.in\" >/dev/null 2>&1'" \
    >/dev/null 2>&1
  python3 - "$work/$input.json" "$input" <<'EOF'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
old = results[0]["median"]
print(f"{sys.argv[2]}: load average {open('/proc/loadavg').read().split()[0]}")
for r in results:
    print(f"  {r['command']:<20} median {r['median']:.3f} s  (user {r['user']:.3f} s)  ratio {old / r['median']:.1f}x")
EOF
done
