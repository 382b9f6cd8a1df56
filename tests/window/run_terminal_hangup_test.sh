#!/usr/bin/env bash
# The terminal form when its terminal closes with SIGHUP ignored: the end of
# input ends the program as a hangup does, within seconds, where it would
# otherwise wait for keys forever.
#
#   run_terminal_hangup_test.sh ARROWGRID
set -euo pipefail

arrowgrid=$1
# shellcheck source=terminal_test_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/terminal_test_lib.sh"

cat > "$work/session.sh" <<SESSION
trap '' HUP
env -u DISPLAY -u WAYLAND_DISPLAY sh -c 'echo \$\$ > "$work/pid"; exec "$arrowgrid"' 2> "$work/stderr"
echo \$? > "$work/status"
SESSION
start_session "$work/session.sh"
for _ in $(seq 1 50); do
  pane_text | grep -q 'pressez <RETURN>' && break
  sleep 0.1
done
pane_text | grep -q 'pressez <RETURN>' || fail "the program did not start"

tmux -L "$socket" kill-server  # the terminal closes
wait_for_file "$work/status" 5 || fail "the program still runs 5 s after its terminal closed"
status=$(cat "$work/status")
[ "$status" -eq 129 ] || fail "status $status, not the end by SIGHUP (129)"
echo "ok: a closed terminal ends the program as a hangup"
echo "PASS"
