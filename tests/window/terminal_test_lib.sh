# shellcheck shell=bash disable=SC2034
# Shared by the terminal-form scripts: a scratch directory (work), a tmux
# server of their own (socket) killed at exit with the program whose pid a
# session may leave in $work/pid.

work=$(mktemp -d)
socket="arrowgrid-test-$$"
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

# Starts the session script in a pane of 80x25 named test.
start_session() {
  tmux -L "$socket" -f /dev/null new-session -d -s test -x 80 -y 25 "bash $1"
}

# The pane's text with trailing blanks removed, as the snapshots have it.
pane_text() {
  tmux -L "$socket" capture-pane -p -t test | sed 's/ *$//'
}

# Waits up to SECONDS for FILE to be written; false if it was not.
wait_for_file() {
  local file=$1 seconds=$2
  for _ in $(seq 1 $((seconds * 10))); do
    [ -s "$file" ] && return 0
    sleep 0.1
  done
  return 1
}
