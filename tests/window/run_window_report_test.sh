#!/usr/bin/env bash
# The real window on a virtual X display (run under xvfb-run), words AB, BC,
# CA with a pause after each report: the first report as the test form draws
# it and with its grid lines at pixels worked out by hand, then the menu, the
# completed grid, and F ending with status 0 and closing the window.
#
#   run_window_report_test.sh ARROWGRID SURFACE_DUMP PICTURE_CHECK
set -euo pipefail

arrowgrid=$1 surface_dump=$2 picture_check=$3
# shellcheck source=window_test_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/window_test_lib.sh"

# Checks pixel (x, y) of a 640x350 screenshot against "white" (colour 15)
# or "black" (colour 0).
expect_pixel() {
  local shot=$1 x=$2 y=$3 want=$4 rgb
  printf 'P6\n640 350\n255\n' | cmp -s - <(head -c 15 "$shot") || fail "$shot is not a plain 640x350 PPM"
  rgb=$(od -An -tu1 -j $((15 + (y * 640 + x) * 3)) -N3 "$shot" | xargs)
  case $want in
    white) [ "$rgb" = "255 255 255" ] ;;
    black) [ "$rgb" = "0 0 0" ] ;;
  esac || fail "pixel ($x, $y) is $rgb, not $want"
}

start_window "$arrowgrid"
timeout 10 xdotool windowfocus --sync "$wid" || fail "the window cannot take the keyboard focus"

# Typed while the program waits: the two intro pauses, the words, the end
# of the list, then the dialog: selection mode kept (1), a pause after each
# report. The search stops at the first report, trial 3.
for line in '' '' AB BC CA '' O '' 1; do
  if [ -n "$line" ]; then xdotool type --window "$wid" "$line"; fi
  xdotool key --window "$wid" Return
done
keys=(enter enter text:AB enter text:BC enter text:CA enter enter text:O enter enter text:1 enter)
expect_picture report 1 "${keys[@]}"

# The same screenshot, against the drawing worked out by hand. AB lies at
# x 0..3, y 0 (arrow, A, B, block); BC goes down x = 2 from y = -1 (arrow)
# through B to C at y = 1 and its block at y = 2. The box is x 0..3, y -1..2:
# 4 wide, 4 high, and cell (x, y) has the indices i = x + 1, j = y + 2,
# spanning pixel columns 16i-16..16i and rows 14j+14..14j+28. Of the text,
# only the arrows, A, B, C and the blocks fall inside the frame (text rows
# 3 to 6, columns 1 to 8).
shot=$work/report.shot.ppm
# The frame's top-left corner: logical (0, 0), the top of text row 3.
expect_pixel "$shot" 0 28 white
# Its right line at logical x = 2 * 4 = 8, pixel 64; row 50 lies within.
expect_pixel "$shot" 64 50 white
# Its bottom line at logical y = 4, pixel 28 + 4 * 14 = 84, under the empty
# cell i = 2, j = 4 (columns 16..32).
expect_pixel "$shot" 30 84 white
# Just right of the frame: text column 9 of row 4, where nothing is printed.
expect_pixel "$shot" 65 50 black
# Just below the frame's bottom-right corner: the right line stops at 84.
expect_pixel "$shot" 64 85 black
# The middle of the empty cell i = 2, j = 3 (columns 16..32, rows 56..70):
# no glyph on text row 5 before column 6, no line of its own.
expect_pixel "$shot" 24 63 black
# The border between A (i = 2) and B (i = 3) on j = 2: column 32, rows
# 42..56; text column 5 of row 4 holds no glyph (B is in column 6).
expect_pixel "$shot" 32 49 white
# The border between BC's arrow (j = 1) and B (j = 2) at i = 3: row 42,
# columns 32..48.
expect_pixel "$shot" 36 42 white
echo "ok: report grid lines at the expected pixels"

# "m" leads to the menu, "c" to the completed grid alone.
xdotool type --window "$wid" m
xdotool key --window "$wid" Return
keys+=(text:m enter)
expect_picture menu 1 "${keys[@]}"
xdotool type --window "$wid" c
xdotool key --window "$wid" Return
keys+=(text:c enter)
expect_picture completed_grid 1 "${keys[@]}"

# A line ends the view; F at the menu ends the program and its window. The
# last Return is only pressed: the window may be gone before a release.
xdotool key --window "$wid" Return
xdotool type --window "$wid" F
xdotool keydown --window "$wid" Return
timeout 10 tail --pid="$pid" -f /dev/null || fail "F did not end the program within 10 s"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "F ended the program with status $status"
# The server drops the window once it sees the connection closed.
for _ in $(seq 1 20); do
  xdotool search --name '^arrowgrid$' > /dev/null || break
  sleep 0.1
done
xdotool search --name '^arrowgrid$' > /dev/null && fail "the window is still shown after the program ended"
[ ! -s "$work/stdout" ] || fail "the window form wrote to standard output: $(head -c 200 "$work/stdout")"
[ ! -s "$work/stderr" ] || fail "the window form wrote to standard error: $(head -c 200 "$work/stderr")"
echo "ok: F ends the program with status 0 and closes the window"
echo "PASS"
