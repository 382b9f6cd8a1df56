#!/usr/bin/env bash
# The terminal form in a tmux pane of 80x25: the text layer as the test form
# shows it for the same keys, editing keys and UTF-8 typing, Ctrl+C ending
# the program at once, and the terminal put back as it was; a grid that
# cannot be exported leaves the screen alone and is told once it ends.
#
#   run_terminal_test.sh ARROWGRID SURFACE_DUMP
set -euo pipefail

arrowgrid=$1 surface_dump=$2
work=$(mktemp -d)
socket="arrowgrid-test-$$"
cleanup() {
  tmux -L "$socket" kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The pane's text with trailing blanks removed, as the snapshots have it.
pane_text() {
  tmux -L "$socket" capture-pane -p -t test | sed 's/ *$//'
}

# Waits until the pane shows the text layer the test form gives for the keys.
expect_screen() {
  local name=$1
  shift
  "$surface_dump" --text "$@" | sed '/^\f$/d' > "$work/$name.ref" || fail "no reference for $name"
  for _ in $(seq 1 40); do
    pane_text > "$work/$name.pane"
    if cmp -s "$work/$name.ref" "$work/$name.pane"; then
      echo "ok: $name"
      return 0
    fi
    sleep 0.1
  done
  diff "$work/$name.ref" "$work/$name.pane" >&2 || true
  fail "the terminal does not show the expected screen: $name"
}

# The pane runs a shell that records the terminal settings around the run.
cat > "$work/session.sh" <<SESSION
# A trapped SIGINT lets this shell go on after the program ends by it; the
# program itself gets the default action back.
trap : INT
stty -g > "$work/before"
env -u DISPLAY -u WAYLAND_DISPLAY "$arrowgrid" 2> "$work/stderr"
echo \$? > "$work/status"
stty -g > "$work/after"
exec sleep 60
SESSION
tmux -L "$socket" -f /dev/null new-session -d -s test -x 80 -y 25 "bash $work/session.sh"

expect_screen intro
tmux -L "$socket" send-keys -t test -l 'é'
expect_screen typed_e_acute code:130
tmux -L "$socket" send-keys -t test -l 'ab'
tmux -L "$socket" send-keys -t test Left BSpace Home x End DC c
expect_screen editing code:130 text:ab left backspace home text:x end delete text:c
tmux -L "$socket" send-keys -t test Home DC
expect_screen delete code:130 text:ab left backspace home text:x end delete text:c home delete
tmux -L "$socket" send-keys -t test Escape
expect_screen escape code:130 text:ab left backspace home text:x end delete text:c home delete escape
tmux -L "$socket" send-keys -t test -l 'mot'
tmux -L "$socket" send-keys -t test Enter
expect_screen after_enter code:130 text:ab left backspace home text:x end delete text:c home delete escape \
  text:mot enter

# Ctrl+C in the terminal ends the program at once and gives the terminal back.
tmux -L "$socket" send-keys -t test C-c
for _ in $(seq 1 30); do
  [ -s "$work/after" ] && break
  sleep 0.1
done
[ -s "$work/after" ] || fail "Ctrl+C did not end the program within 3 s"
status=$(cat "$work/status")
[ "$status" -eq 130 ] || fail "Ctrl+C ended the program with status $status, not by the signal"
cmp -s "$work/before" "$work/after" || fail "the terminal settings were not restored"
if pane_text | grep -q 'pressez <RETURN>'; then
  fail "the program's screen is still shown after it ended"
fi
[ ! -s "$work/stderr" ] || fail "the terminal form wrote to standard error: $(head -c 200 "$work/stderr")"
echo "ok: Ctrl+C ends the program and restores the terminal"

# Standard error on the pane itself: export problems wait for the end.
tmux -L "$socket" kill-session -t test
cat > "$work/export.sh" <<SESSION
env -u DISPLAY -u WAYLAND_DISPLAY "$arrowgrid" --export "$work/missing"
echo \$? > "$work/export_status"
exec sleep 60
SESSION
tmux -L "$socket" -f /dev/null new-session -d -s test -x 80 -y 25 "bash $work/export.sh"
expect_screen export_intro
for keys in '' '' AB BC CA '' O '' '' '' V; do
  [ -n "$keys" ] && tmux -L "$socket" send-keys -t test -l "$keys"
  tmux -L "$socket" send-keys -t test Enter
done
expect_screen export_empty_grid enter enter text:AB enter text:BC enter text:CA enter enter text:O enter \
  enter enter enter text:V enter
tmux -L "$socket" send-keys -t test Enter F Enter
for _ in $(seq 1 30); do
  [ -s "$work/export_status" ] && break
  sleep 0.1
done
[ "$(cat "$work/export_status" 2>/dev/null)" = 0 ] || fail "the program did not finish from the menu"
tmux -L "$socket" capture-pane -p -J -t test | grep -qF "arrowgrid: cannot write $work/missing/grille-vide-001.pdf: No such file or directory" ||
  fail "the export problem was not shown once the program ended: $(pane_text)"
echo "ok: an export problem waits for the end of the terminal form"
echo "PASS"
