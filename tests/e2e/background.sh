#!/usr/bin/env bash
# The program with nobody at its window, in a virtual X server: --background started before any tray
# shows its icon once a tray (trayer) comes, and no window and no box while no controller is attached;
# the window in front chooses its profile, told in the tray's balloon, also after a client named the
# root window in front; later launches hand their request to it: a second --background keeps the window hidden, a
# --profile the settings cannot keep is refused (as the start's own was said on standard error), a
# --profile or --map that can be done leaves the window hidden, --stop, then
# a plain launch shows its window, a --map launch makes it read that map, its "Assegna i tasti…" opens
# the key dialog; --quit ends it with status 0.
# Usage (inside a virtual X server: xvfb.sh): background.sh <corvane executable> <set_active_window executable>
set -euo pipefail
exe=$1
set_active=$2

fail() { echo "e2e: $*" >&2; exit 1; }

work=$(mktemp -d)
pid= tray=
trap 'kill "$pid" "$tray" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/xdg XDG_RUNTIME_DIR=$work/run
mkdir -m 0700 "$XDG_RUNTIME_DIR"
program=$work/corvane
cp "$exe" "$program"

count() { xdotool search "$@" 2>/dev/null | grep -c . || true; }
# Waits up to $1 seconds until `count ${@:3}` is $2.
wait_count() {
    local deadline=$((SECONDS + $1)) want=$2
    shift 2
    while [ "$(count "$@")" -ne "$want" ]; do
        [ $SECONDS -lt "$deadline" ] || fail "expected $want window(s) for $*, saw $(count "$@")"
        sleep 0.05
    done
}

# At login the program often starts before the panel. Its profile cannot be remembered: a folder
# stands in the settings' place.
mkdir -p "$XDG_CONFIG_HOME/corvane/profili" "$XDG_CONFIG_HOME/corvane/corvane.conf"
printf '[Tasti]\n' >"$XDG_CONFIG_HOME/corvane/profili/Film.ini"
"$program" --background --profile Film 2>"$work/err" &
pid=$!
sleep 1
trayer --edge top --align right --widthtype request &
tray=$!
# The tray icon is the program's one window, embedded in the tray.
wait_count 10 1 --onlyvisible --classname '^corvane$'
sleep 2
[ "$(count --onlyvisible --name '^Corvane \(DEMO\)$')" -eq 0 ] || fail "a window or a box shows in the background"
echo "e2e: background started before the tray: tray icon, no window, no box"

# Naming the root once replaced what the program asked of it, and nothing after was followed.
mkdir -p "$XDG_CONFIG_HOME/corvane/profili"
printf '[Profili]\nFinestre=trayer\n' >"$XDG_CONFIG_HOME/corvane/profili/Vassoio.ini"
"$set_active" "$(xwininfo -root | awk '/Window id:/ {print $4}')"
sleep 0.5
"$set_active" "$(xdotool search --classname '^trayer$' | head -n 1)"
# The tray icon, and the balloon that tells the switch beside it.
wait_count 5 2 --onlyvisible --classname '^corvane$'
echo "e2e: the window in front chose its profile after the root was named in front"

"$program" --background || fail "second --background exit status $?"
sleep 1
[ "$(count --onlyvisible --name '^Corvane \(DEMO\)$')" -eq 0 ] || fail "a second --background shows the window"
echo "e2e: a second --background keeps the window hidden"

grep -q "il profilo Film non è ricordato" "$work/err" || fail "a start's --profile not remembered, not said"
status=0
"$program" --profile Film 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "a --profile the settings cannot keep: exit status $status, not refused"
rmdir "$XDG_CONFIG_HOME/corvane/corvane.conf"
printf '[Tasti]\n' >"$work/other.ini"
"$program" --profile Film || fail "--profile handed over, exit status $?"
"$program" --map "$work/other.ini" || fail "--map handed over, exit status $?"
sleep 1
[ "$(count --onlyvisible --name '^Corvane \(DEMO\)$')" -eq 0 ] || fail "a --profile or --map shows the hidden window"
echo "e2e: a --profile not remembered is said and refused; --profile and --map leave the window hidden"

"$program" --stop || fail "--stop exit status $?"
"$program" || fail "second plain launch exit status $?"
wait_count 5 1 --onlyvisible --name '^Corvane \(DEMO\)$'
kill -0 "$pid" || fail "the running program ended"
echo "e2e: --stop and a plain launch handed over; the window shows"

# A second launch's map reaches the running program: it reloads and says so in a box of its caption.
printf '[Tasti]\n' >"$work/other.ini"
"$program" --map "$work/other.ini" || fail "--map handed over, exit status $?"
wait_count 5 2 --onlyvisible --name '^Corvane \(DEMO\)$'
xdotool key Return
wait_count 5 1 --onlyvisible --name '^Corvane \(DEMO\)$'
echo "e2e: --map handed over; the running program reads it"

# ? -> Assegna i tasti… from the keyboard: File, then the next menu, its second entry.
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Corvane \(DEMO\)$')"
xdotool key alt+f sleep 0.3 key Right sleep 0.3 key Down Return
wait_count 5 1 --onlyvisible --name '^Assegna i tasti'
echo "e2e: the key dialog opens in a program started in the background"

"$program" --quit || fail "--quit exit status $?"
timeout 2 tail -s 0.05 --pid="$pid" -f /dev/null || fail "still running two seconds after --quit"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after --quit"
echo "e2e: --quit ended it with status 0"
