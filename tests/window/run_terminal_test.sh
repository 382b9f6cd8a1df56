#!/usr/bin/env bash
# The terminal form in a tmux pane of 80x25: the text layer as the test form
# shows it for the same keys, editing keys and UTF-8 typing, a paste longer
# than the key queue, Ctrl+Z giving the terminal back and fg taking it again
# with the screen drawn anew, Ctrl+C ending the program at once, and the
# terminal put back as it was; a grid that cannot be exported leaves the
# screen alone and is told once it ends.
#
#   run_terminal_test.sh ARROWGRID SURFACE_DUMP
set -euo pipefail

arrowgrid=$1 surface_dump=$2
# shellcheck source=terminal_test_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/terminal_test_lib.sh"

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
# Job control, as in an interactive shell: Ctrl+Z stops the program alone.
set -m
# A trapped SIGINT lets this shell go on after the program ends by it; the
# program itself gets the default action back.
trap : INT
stty -g > "$work/before"
env -u DISPLAY -u WAYLAND_DISPLAY "$arrowgrid" 2> "$work/stderr"
echo \$? > "$work/first_status"
stty -g > "$work/stopped"
echo "arrowgrid stopped"
while [ ! -e "$work/resume" ]; do sleep 0.1; done
# One command a line: a job ended by SIGINT cuts short the rest of a compound command.
fg > /dev/null
echo \$? > "$work/status"
stty -g > "$work/after"
exec sleep 60
SESSION
start_session "$work/session.sh"

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
keys=(code:130 text:ab left backspace home text:x end delete text:c home delete escape text:mot enter)
expect_screen after_enter "${keys[@]}"

# Thirty letters pasted at once reach the prompt whole.
pasted=abcdefghijklmnopqrstuvwxyzABCD
tmux -L "$socket" send-keys -t test -l "$pasted"
keys+=("text:$pasted")
expect_screen pasted "${keys[@]}"

# Ctrl+Z: the terminal as it was found, the shell's screen shown; fg: the
# program's screen drawn anew (its alternate screen starts blank).
tmux -L "$socket" send-keys -t test C-z
wait_for_file "$work/stopped" 3 || fail "Ctrl+Z did not stop the program within 3 s"
[ "$(cat "$work/first_status")" -eq 148 ] || fail "Ctrl+Z ended the program (status $(cat "$work/first_status"))"
cmp -s "$work/before" "$work/stopped" || fail "the terminal settings were not restored during the stop"
if pane_text | grep -q 'pressez <RETURN>'; then
  fail "the program's screen is still shown while it is stopped"
fi
echo "ok: Ctrl+Z gives the terminal back"
touch "$work/resume"
expect_screen continued "${keys[@]}"

# Ctrl+C in the terminal ends the program at once and gives the terminal back.
tmux -L "$socket" send-keys -t test C-c
wait_for_file "$work/after" 3 || fail "Ctrl+C did not end the program within 3 s"
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
start_session "$work/export.sh"
expect_screen export_intro
for keys in '' '' AB BC CA '' O '' '' '' V; do
  [ -n "$keys" ] && tmux -L "$socket" send-keys -t test -l "$keys"
  tmux -L "$socket" send-keys -t test Enter
done
expect_screen export_empty_grid enter enter text:AB enter text:BC enter text:CA enter enter text:O enter \
  enter enter enter text:V enter
tmux -L "$socket" send-keys -t test Enter F Enter
wait_for_file "$work/export_status" 3 || true
[ "$(cat "$work/export_status" 2>/dev/null)" = 0 ] || fail "the program did not finish from the menu"
tmux -L "$socket" capture-pane -p -J -t test | grep -qF "arrowgrid: cannot write $work/missing/grille-vide-001.pdf: No such file or directory" ||
  fail "the export problem was not shown once the program ended: $(pane_text)"
echo "ok: an export problem waits for the end of the terminal form"
echo "PASS"
