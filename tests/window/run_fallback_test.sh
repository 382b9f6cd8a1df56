#!/usr/bin/env bash
# A display that is named but cannot be reached (or a video driver that
# shows nothing) gives no window: the program falls back to the console
# form, here the script form since input and output are not terminals, and
# says nothing about the failed window.
#
#   run_fallback_test.sh ARROWGRID
set -euo pipefail
arrowgrid=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

check_fallback() {
  local name=$1
  shift
  local status=0
  printf '\n' | env "$@" timeout 20 "$arrowgrid" > "$work/out" 2> "$work/err" || status=$?
  [ "$status" -eq 3 ] || fail "$name: status $status, not the script form's end of input (3)"
  grep -q '^pressez <RETURN> pour continuer$' "$work/out" || fail "$name: no snapshot of the intro screen"
  [ "$(cat "$work/err")" = "arrowgrid: standard input ended while a typed line was awaited" ] ||
    fail "$name: unexpected messages: $(cat "$work/err")"
  echo "ok: $name"
}

check_fallback "unreachable X display" -u WAYLAND_DISPLAY DISPLAY=unix:987
check_fallback "unreachable Wayland display" -u DISPLAY WAYLAND_DISPLAY=arrowgrid-test-nowhere XDG_RUNTIME_DIR="$work"
check_fallback "invisible video driver" -u WAYLAND_DISPLAY DISPLAY=unix:987 SDL_VIDEODRIVER=offscreen
echo "PASS"
