#!/usr/bin/env bash
# The ipuz file of a solved list with clues, read back by an independent
# parser from npm (pinned; installed into the build folder when missing).
# Usage: ipuz_read_back.sh SOLVER BUILD_FOLDER
set -euo pipefail
solver=$1
modules=$2/npm
here=$(dirname "$0")
package=@xwordly/xword-parser
version=1.0.5
parser=$modules/node_modules/$package/dist/index.mjs

installed=$(node -p "require('$modules/node_modules/$package/package.json').version" 2>/dev/null || true)
if [ "$installed" != "$version" ]; then
  npm install --prefix "$modules" --no-save --no-audit --no-fund "$package@$version" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$solver" --quiet --words "$here/clued_words.tsv" --ipuz "$work/grid.ipuz" --json "$work/grid.json" >/dev/null
node "$here/ipuz_read_back.mjs" "$parser" "$work/grid.ipuz" "$work/grid.json"
