#!/usr/bin/env bash
# A folder of word lists solved on every core with GNU parallel, the way the
# documentation shows, one JSON and one PDF pair per list; each JSON must be
# the one a lone run writes, but for its time. Three copies of a 20-word list
# whose proof the node limit stops run side by side and load the machine:
# their grids must not depend on it.
set -euo pipefail
solver=${1:?usage: batch_parallel_test.sh SOLVER}
command -v parallel >/dev/null || { echo "batch_parallel_test.sh: GNU parallel is needed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/lists" "$work/out" "$work/lone"
printf 'MAISON\nJARDIN\nTABLE\nPORTE\n' >"$work/lists/house.txt"
printf 'CHAT\nLOUP\nVACHE\nCHIEN\n' >"$work/lists/animals.txt"
printf 'ROUGE\nVERT\nBLEU\nORANGE\n' >"$work/lists/colours.txt"
for copy in 1 2 3; do
  printf '%s\n' CUISINE FOURCHETTE COUTEAU CUILLERE ASSIETTE VERRE CASSEROLE POELE FOUR EVIER TABLE \
    CHAISE NAPPE BOUTEILLE CARAFE SALADIER PLATEAU TASSE BOL THEIERE >"$work/lists/kitchen-$copy.txt"
done
limit=(--node-limit 3000000)

parallel --will-cite "$solver" --quiet "${limit[@]}" --words {} --json "$work/out/{/.}.json" \
  --pdf "$work/out/{/.}" '>/dev/null' ::: "$work"/lists/*.txt

for list in "$work"/lists/*.txt; do
  name=$(basename "$list" .txt)
  "$solver" --quiet "${limit[@]}" --words "$list" --json "$work/lone/$name.json" >/dev/null
  for json in "$work/out/$name.json" "$work/lone/$name.json"; do
    grep -v '"elapsedSeconds"' "$json" >"$json.kept"
  done
  cmp "$work/out/$name.json.kept" "$work/lone/$name.json.kept"
  case $name in
    kitchen-*) grep -q '"stopped": "node-limit"' "$work/out/$name.json" ;;
    *) grep -q '"proven": true' "$work/out/$name.json" ;;
  esac
  for pdf in "$work/out/$name-grille.pdf" "$work/out/$name-solution.pdf"; do
    [ "$(head -c 5 "$pdf")" = "%PDF-" ] || { echo "$pdf: not a PDF" >&2; exit 1; }
  done
done
cmp "$work/out/kitchen-1.json.kept" "$work/out/kitchen-3.json.kept"
echo "6 lists: the JSON of lone runs, a PDF pair each"
