#!/usr/bin/env bash
# The puzzle page in headless Chromium: two pages written by arrowgrid-solve
# from lists with clues, played by tests/page/puzzle_page.test.mjs under
# `node --test`. puppeteer-core and axe-core (pinned) are installed into
# BUILD_FOLDER/npm-page when missing: a folder of their own, since an npm
# install drops the packages it was not asked for (the ipuz test's, in
# BUILD_FOLDER/npm). The browser is Debian's chromium.
# Usage: puzzle_page_browser.sh SOLVER BUILD_FOLDER
set -euo pipefail
solver=$1
modules=$(realpath "$2")/npm-page
here=$(dirname "$0")
packages=(puppeteer-core@24.43.1 axe-core@4.14.1)

for package in "${packages[@]}"; do
  name=${package%@*}
  installed=$(node -p "require('$modules/node_modules/$name/package.json').version" 2>/dev/null || true)
  if [ "$installed" != "${package##*@}" ]; then
    npm install --prefix "$modules" --no-save --no-audit --no-fund "${packages[@]}" >/dev/null
    break
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$solver" --quiet --time-limit 2 --words "$here/../../bench/lists/animaux-definitions.tsv" \
  --title "Les animaux" --author "Classe de CM2" --copyright "© 2026 École Jules-Ferry" \
  --html "$work/animaux.html" >/dev/null
"$solver" --quiet --words "$here/../puzzle/clued_words.tsv" --html "$work/courts.html" >/dev/null
NPM_MODULES=$modules PAGE=$work/animaux.html OTHER_PAGE=$work/courts.html \
  node --test --test-concurrency=1 "$here/puzzle_page.test.mjs"
