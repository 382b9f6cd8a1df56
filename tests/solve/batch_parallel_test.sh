#!/usr/bin/env bash
# A folder of three word lists solved on every core with GNU parallel, the
# way the documentation shows, one JSON and one PDF pair per list; each JSON
# must be the one a lone run writes, but for its time.
set -euo pipefail
solver=${1:?usage: batch_parallel_test.sh SOLVER}
command -v parallel >/dev/null || { echo "batch_parallel_test.sh: GNU parallel is needed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/lists" "$work/out" "$work/lone"
printf 'MAISON\nJARDIN\nTABLE\nPORTE\n' >"$work/lists/house.txt"
printf 'CHAT\nLOUP\nVACHE\nCHIEN\n' >"$work/lists/animals.txt"
printf 'ROUGE\nVERT\nBLEU\nORANGE\n' >"$work/lists/colours.txt"

parallel --will-cite "$solver" --quiet --time-limit none --words {} --json "$work/out/{/.}.json" \
  --pdf "$work/out/{/.}" '>/dev/null' ::: "$work"/lists/*.txt

for list in "$work"/lists/*.txt; do
  name=$(basename "$list" .txt)
  "$solver" --quiet --time-limit none --words "$list" --json "$work/lone/$name.json" >/dev/null
  for json in "$work/out/$name.json" "$work/lone/$name.json"; do
    grep -v '"elapsedSeconds"' "$json" >"$json.kept"
  done
  cmp "$work/out/$name.json.kept" "$work/lone/$name.json.kept"
  grep -q '"proven": true' "$work/out/$name.json"
  for pdf in "$work/out/$name-grille.pdf" "$work/out/$name-solution.pdf"; do
    [ "$(head -c 5 "$pdf")" = "%PDF-" ] || { echo "$pdf: not a PDF" >&2; exit 1; }
  done
done
echo "3 lists: the JSON of lone runs, a PDF pair each"
