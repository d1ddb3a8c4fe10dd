#!/usr/bin/env bash
# The real program on Wayland: a headless weston of its own (private XDG_RUNTIME_DIR), a session bus of
# its own (dbus-run-session) on which the accessibility bus starts on demand, and the program driven
# there by drive_over_atspi.py: main window seen, ended through "Fine Programma" with status 0.
# Usage: start_and_end.sh <corvane executable>
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)

fail() { echo "wayland: $*" >&2; exit 1; }

# Debian's python3-pyatspi belongs to the system's python, whatever python comes first on PATH.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed"
command -v weston >/dev/null || fail "weston is not installed"
command -v dbus-run-session >/dev/null || fail "dbus-run-session (dbus-daemon) is not installed"

runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_pid=
trap '[ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null || true; rm -rf "$runtime"' EXIT

export XDG_RUNTIME_DIR=$runtime
socket=corvane-test
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --no-config \
    >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 1 100); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || { cat "$runtime/weston.log" >&2; fail "weston ended at its start"; }
    sleep 0.1
done
[ -S "$runtime/$socket" ] || fail "weston opened no socket within 10 s"

printf '[Tasti]\n0=1\n' >"$runtime/map.ini"
status=0
WAYLAND_DISPLAY=$socket timeout 90 dbus-run-session -- \
    "$python" "$here/drive_over_atspi.py" "$exe" "$runtime/map.ini" 2> >(grep -v '^dbus-daemon' >&2) || status=$?
[ $status -ne 124 ] || fail "no result within 90 s"
exit $status
