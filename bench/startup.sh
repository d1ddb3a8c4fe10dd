#!/usr/bin/env bash
# Start-up time of the real program: from process start to the main window shown, with the splash
# cut short by a key; the median of 10 runs; plus the peak resident memory (VmHWM) of each run once
# the main window is up. Run it inside a virtual X server:
#   xvfb-run -a -s "-screen 0 1280x1024x24" bench/startup.sh build/src/corvane
set -euo pipefail
exe=${1:?usage: startup.sh <corvane executable> [runs]}
runs=${2:-10}

now_ms() { echo $(($(date +%s%N) / 1000000)); }
visible() { xdotool search --onlyvisible "$@" 2>/dev/null | grep -c . || true; }

# Waits until a window of the program matches, or stops with an error when the program has ended
# (it crashed, or found no display) or nothing showed within 30 s.
wait_for() {
    local deadline=$((SECONDS + 30)) status
    until [ "$(visible "$@")" -ge 1 ]; do
        if ! kill -0 "$pid" 2>/dev/null; then
            status=0
            wait "$pid" || status=$?
            echo "startup: the program ended with status $status before a window matching $* showed" >&2
            exit 1
        fi
        if [ $SECONDS -ge $deadline ]; then
            kill "$pid"
            echo "startup: no window matching $* within 30 s" >&2
            exit 1
        fi
        sleep 0.01
    done
}

times=()
peaks=()
for _ in $(seq 1 "$runs"); do
    start=$(now_ms)
    "$exe" &
    pid=$!
    wait_for --classname '^corvane$'
    xdotool key a
    wait_for --name '^Corvane \(DEMO\)$'
    times+=($(($(now_ms) - start)))
    peaks+=("$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
echo "start-up to main window, ms: ${times[*]}"
echo "median start-up: $(median "${times[@]}") ms"
echo "peak resident memory, kB: ${peaks[*]} (median $(median "${peaks[@]}") kB)"
