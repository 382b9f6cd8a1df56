#!/usr/bin/env bash
# The layer check on a copy of src/ with two includes that run upwards: it
# must fail and name each planted file and line. Usage: planted_include_test.sh REPO
set -u
repo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$repo/src" "$work/src"

# Planted as the third line, after the file's opening comment and include.
plant() {  # FILE INCLUDE
  sed -i "3i #include \"$2\"" "$work/src/$1"
}
plant screen/console.h platform/window_form.h
plant search/search_engine.cpp screen/console.h

if output=$(bash "$repo/scripts/check_layers.sh" "$work/src" 2>&1); then
  echo "FAIL: the check passed with two includes against the order" >&2
  exit 1
fi
echo "$output"
status=0
for expected in 'screen/console.h:3: #include "platform/window_form.h"' \
                'search/search_engine.cpp:3: #include "screen/console.h"'; do
  if ! grep -qF "$expected" <<<"$output"; then
    echo "FAIL: no line naming $expected" >&2
    status=1
  fi
done
[[ $(wc -l <<<"$output") -eq 2 ]] || { echo "FAIL: expected exactly the two planted includes" >&2; status=1; }
exit $status
