# shellcheck shell=bash disable=SC2034,SC2154
# Shared by the real-window scripts, sourced after they set surface_dump and
# picture_check: a scratch directory (work), the program (pid) killed at exit.

work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts the program in the background (pid) and finds its window (wid).
start_window() {
  "$1" > "$work/stdout" 2> "$work/stderr" &
  pid=$!
  wid=$(timeout 20 xdotool search --sync --name '^arrowgrid$' | head -n 1) || fail "no window titled arrowgrid"
  [ -n "$wid" ] || fail "no window titled arrowgrid"
}

# True when a screenshot of the window matches the reference for the keys
# given (at the given scale) within PICTURE_TRIES tries, 100 unless told (a
# sanitizer build on a loaded machine can take seconds to get there). The matching shot stays
# in $work/NAME.shot.ppm, the last comparison in $work/NAME.check.
picture_shown() {
  local name=$1 scale=$2
  shift 2
  "$surface_dump" "$@" > "$work/$name.ref.ppm" || fail "no reference for $name"
  for _ in $(seq 1 "${PICTURE_TRIES:-100}"); do
    import -window "$wid" -depth 8 "$work/$name.shot.ppm" 2>/dev/null || true
    if "$picture_check" "$work/$name.ref.ppm" "$work/$name.shot.ppm" "$scale" > "$work/$name.check" 2>&1; then
      echo "ok: $name"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# picture_shown, or the test fails.
expect_picture() {
  local name=$1
  picture_shown "$@" && return 0
  cat "$work/$name.check" >&2
  fail "the window does not show the expected picture: $name"
}
