#!/usr/bin/env bash
# Runs a command on a virtual X server of its own; the server picks a free display (-displayfd), where
# xvfb-run -a lets tests run at once race for one. It does not reset when its last client leaves: a
# client that connects then would be turned away. Usage: xvfb.sh <command> [arguments...]
set -euo pipefail
coproc server { exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null; }
trap 'kill "$server_PID" 2>/dev/null || true' EXIT
read -r -t 20 number <&"${server[0]}" || { echo "xvfb.sh: the X server did not start" >&2; exit 1; }
status=0
DISPLAY=:$number "$@" || status=$?
exit "$status"
