#!/usr/bin/env bash
# The window lost during a search of nine words (every arrangement shown, no
# pause): the display server ends, then another program destroys the window.
# Each time the program ends within seconds with status 5 and one line on
# standard error saying why, and nothing else there (no report of freed
# memory from a sanitizer build). Also: with a display, --script still reads
# the typed lines from standard input.
#
#   run_window_lost_test.sh ARROWGRID
set -euo pipefail
arrowgrid=$1
work=$(mktemp -d)
xvfb_pid="" pid=""
cleanup() {
  if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/stderr" ]; then head -c 3000 "$work/stderr" >&2; fi
  exit 1
}

# A display server of our own, so that the test may end it.
start_display() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  DISPLAY=":$(cat "$work/display")"
  export DISPLAY
}

# The program in its window, searching.
start_search() {
  "$arrowgrid" > "$work/stdout" 2> "$work/stderr" &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --name '^arrowgrid$' | head -n 1) || fail "no window"
  timeout 10 xdotool windowfocus --sync "$wid" || fail "the window cannot take the keyboard focus"
  for line in '' '' MAISON JARDIN TABLE PORTE SOLEIL FLEUR LIVRE ARBRE ECOLE '' O 0 ''; do
    if [ -n "$line" ]; then xdotool type --window "$wid" "$line"; fi
    xdotool key --window "$wid" Return
  done
  sleep 1.5
  kill -0 "$pid" 2>/dev/null || fail "the program ended before the window was lost"
}

expect_lost_window_end() {
  local name=$1 why=$2 status=0
  timeout 10 tail --pid="$pid" -f /dev/null || fail "$name: the program still runs 10 s after"
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 5 ] || fail "$name: status $status, not 5"
  grep -q "^arrowgrid: $why" "$work/stderr" || fail "$name: no message saying why"
  [ "$(wc -l < "$work/stderr")" -eq 1 ] || fail "$name: more than the message on standard error"
  echo "ok: $name"
}

start_display
start_search
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""
expect_lost_window_end "display server ended during a search" "the connection to the display was lost"

start_display
start_search
xdotool windowclose "$wid"
expect_lost_window_end "window destroyed during a search" "the display refused a request"

# A display is there, yet --script reads its typed lines from standard input.
status=0
printf '\n' | timeout 20 "$arrowgrid" --script > "$work/stdout" 2> "$work/stderr" || status=$?
[ "$status" -eq 3 ] || fail "--script with a display: status $status, not the end of its input (3)"
grep -q '^pressez <RETURN> pour continuer$' "$work/stdout" || fail "--script with a display: no snapshot"
echo "ok: --script with a display reads standard input"
echo "PASS"
