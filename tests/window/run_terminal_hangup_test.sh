#!/usr/bin/env bash
# The terminal form when its terminal closes with SIGHUP ignored: the end of
# input ends the program as a hangup does, within seconds, where it would
# otherwise wait for keys forever.
#
#   run_terminal_hangup_test.sh ARROWGRID
set -euo pipefail

arrowgrid=$1
work=$(mktemp -d)
socket="arrowgrid-hangup-$$"
cleanup() {
  tmux -L "$socket" kill-server 2>/dev/null || true
  if [ -s "$work/pid" ]; then kill -KILL "$(cat "$work/pid")" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cat > "$work/session.sh" <<SESSION
trap '' HUP
env -u DISPLAY -u WAYLAND_DISPLAY sh -c 'echo \$\$ > "$work/pid"; exec "$arrowgrid"' 2> "$work/stderr"
echo \$? > "$work/status"
SESSION
tmux -L "$socket" -f /dev/null new-session -d -s test -x 80 -y 25 "bash $work/session.sh"
for _ in $(seq 1 50); do
  tmux -L "$socket" capture-pane -p -t test | grep -q 'pressez <RETURN>' && break
  sleep 0.1
done
tmux -L "$socket" capture-pane -p -t test | grep -q 'pressez <RETURN>' || fail "the program did not start"

tmux -L "$socket" kill-server  # the terminal closes
for _ in $(seq 1 50); do
  [ -s "$work/status" ] && break
  sleep 0.1
done
[ -s "$work/status" ] || fail "the program still runs 5 s after its terminal closed"
status=$(cat "$work/status")
[ "$status" -eq 129 ] || fail "status $status, not the end by SIGHUP (129)"
echo "ok: a closed terminal ends the program as a hangup"
echo "PASS"
