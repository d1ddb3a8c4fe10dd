#!/usr/bin/env bash
# The real program in a virtual X server, as a person meets it: the splash window, then the main
# window with the usage instructions; the instructions dismissed with Enter, the window closed with
# the window manager's close request: the process ends with status 0 within a second.
# Usage (inside a virtual X server: xvfb.sh): startup_and_close.sh <corvane executable> <send_close_request executable>
#        [installed]
# With "installed" the program runs where it is (an installed package); otherwise from a copy.
set -euo pipefail
exe=$1
close_request=$2
where=${3:-}

fail() { echo "e2e: $*" >&2; exit 1; }

# A program directory of its own, so no Corvane.ini lying beside the build's executable matters, and
# empty config directories, so that no map of this machine's user or system does.
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/xdg
if [ "$where" = installed ]; then
    program=$exe
else
    program=$work/corvane
    cp "$exe" "$program"
fi

# Visible top-level windows of the program, and those titled with the main window's caption; one id
# a line. The splash window has no caption.
program_windows() { xdotool search --onlyvisible --classname '^corvane$' 2>/dev/null || true; }
main_windows() { xdotool search --onlyvisible --name '^Corvane \(DEMO\)$' 2>/dev/null || true; }
count() { "$1" | grep -c . || true; }
# Waits up to $1 seconds until the program shows $2 windows of which $3 carry the main caption.
wait_windows() {
    local deadline=$((SECONDS + $1))
    while [ "$(count program_windows)" -ne "$2" ] || [ "$(count main_windows)" -ne "$3" ]; do
        [ $SECONDS -lt "$deadline" ] ||
            fail "expected $2 window(s), $3 main; saw $(count program_windows), $(count main_windows) main"
        sleep 0.05
    done
}

"$program" &
pid=$!

wait_windows 10 1 0
echo "e2e: splash shown"

# After 1.5 s the splash hands over: the main window and the instructions box, both titled with the
# main window's caption.
wait_windows 10 2 2
echo "e2e: main window and instructions shown"

xdotool key Return
wait_windows 5 1 1
echo "e2e: instructions dismissed"

main=$(main_windows)
"$close_request" "$main"
status=0
for _ in $(seq 1 20); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "still running a second after the close request"
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "e2e: closed, exit status 0 in under a second"
