#!/usr/bin/env bash
# The README's pictures of the puzzle page: a 12-word and a 40-word puzzle
# from bench/lists, each on a laptop and on a phone, part played, written to
# docs/page-*.png. Needs a build (arrowgrid-solve), node and chromium; the
# pinned puppeteer-core is installed into the build folder as the tests do.
# Usage: page_screenshots.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
modules=$build/npm-page
[ -d "$modules/node_modules/puppeteer-core" ] ||
  npm install --prefix "$modules" --no-save --no-audit --no-fund puppeteer-core@24.43.1 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
solve() {  # list, title, page
  "$build/arrowgrid-solve" --quiet --time-limit 10 -j 1 --words "$root/bench/lists/$1" --title "$2" \
    --author "Classe de CM2" --copyright "© 2026 École Jules-Ferry" --html "$3" >/dev/null
}
solve animaux-definitions.tsv "Les animaux" "$work/animaux.html"
solve nature-definitions-40.tsv "La nature" "$work/nature.html"
node "$root/scripts/page_screenshots.mjs" "$modules" "$work/animaux.html" "$root/docs/page-12-mots"
node "$root/scripts/page_screenshots.mjs" "$modules" "$work/nature.html" "$root/docs/page-40-mots"
