#!/usr/bin/env bash
# The real window on a virtual X display (run under xvfb-run): its title and
# size, typed keys against the surface the same keys give in the test form,
# é as code 130, Ctrl+C typed in the window ignored, the close button only a
# key, a hundred keys typed at once all kept, the enlarged picture scaled by
# a whole factor, nothing written to the console, and SIGINT ending the
# process at once.
#
#   run_window_test.sh ARROWGRID SURFACE_DUMP PICTURE_CHECK CLOSE_REQUEST
set -euo pipefail
# Job control, so that the program started with & does not ignore SIGINT.
set -m

arrowgrid=$1 surface_dump=$2 picture_check=$3 close_request=$4

# shellcheck source=window_test_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/window_test_lib.sh"

start_window "$arrowgrid"
echo "ok: window $wid titled arrowgrid"

geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x350" ] || fail "client area is $geometry, not 640x350"
echo "ok: client area 640x350"

expect_picture intro 1
timeout 10 xdotool windowfocus --sync "$wid" || fail "the window cannot take the keyboard focus"

# A character typed at the prompt is echoed: é must arrive as 130. xdotool
# types é through a key it maps to é for a moment; on a busy machine the
# window may read that key under its old mapping and get another letter,
# which is erased and é typed again.
for attempt in 1 2 3; do
  xdotool type --window "$wid" 'é'
  PICTURE_TRIES=40 picture_shown typed_e_acute 1 code:130 && break
  [ "$attempt" -lt 3 ] || expect_picture typed_e_acute 1 code:130
  xdotool key --window "$wid" BackSpace
done

# Ctrl+C typed into the window is no interrupt and changes nothing.
xdotool key --window "$wid" ctrl+c
sleep 0.3
kill -0 "$pid" 2>/dev/null || fail "Ctrl+C typed into the window ended the program"
expect_picture ctrl_c_ignored 1 code:130

# The close button only queues a key that line input ignores.
"$close_request" "$wid"
sleep 0.3
kill -0 "$pid" 2>/dev/null || fail "the close request ended the program"
expect_picture close_ignored 1 code:130 close

# Editing keys reach line input as editing keys ("éab", Left, Backspace,
# Home, "x", End, "c" leaves "xébc"; Delete at the end only beeps): the
# echo matches the test form's.
xdotool type --window "$wid" 'ab'
xdotool key --window "$wid" Left BackSpace Home x End Delete c
expect_picture editing 1 code:130 close text:ab left backspace home text:x end delete text:c

# Delete at the start removes the character there.
xdotool key --window "$wid" Home Delete
keys=(code:130 close text:ab left backspace home text:x end delete text:c home delete)
expect_picture delete 1 "${keys[@]}"

# Enter ends the line and the next screen appears.
xdotool key --window "$wid" Return
keys+=(enter)
expect_picture after_enter 1 "${keys[@]}"

# A hundred letters typed with no delay all reach the prompt.
pasted=$(printf 'abcdefghij%.0s' $(seq 1 10))
xdotool type --delay 0 --window "$wid" "$pasted"
keys+=("text:$pasted")
expect_picture pasted 1 "${keys[@]}"

# Enlarged, the picture is scaled by the largest whole factor and centred
# (moved to the corner first, so that the whole window is on the screen).
timeout 10 xdotool windowmove --sync "$wid" 0 0 || fail "the window cannot be moved"
xdotool windowsize "$wid" 1300 760
sleep 0.3
geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "1300x760" ] || fail "the window could not be enlarged (it is $geometry)"
expect_picture enlarged 2 "${keys[@]}"

[ ! -s "$work/stdout" ] || fail "the window form wrote to standard output: $(head -c 200 "$work/stdout")"
[ ! -s "$work/stderr" ] || fail "the window form wrote to standard error: $(head -c 200 "$work/stderr")"
echo "ok: nothing written to the console"

# The console's interrupt ends the process at once: well within 10 s even
# with the sanitizers on a loaded machine, where 3 s was seen to pass.
kill -INT "$pid"
status=0
timeout 10 tail -s 0.1 --pid="$pid" -f /dev/null || fail "SIGINT did not end the program within 10 s"
wait "$pid" || status=$?
pid=""
[ "$status" -eq 130 ] || fail "SIGINT ended the program with status $status, not by the signal"
echo "ok: SIGINT ends the program at once"
echo "PASS"
