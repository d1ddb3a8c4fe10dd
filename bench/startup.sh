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

times=()
peaks=()
for _ in $(seq 1 "$runs"); do
    start=$(now_ms)
    "$exe" &
    pid=$!
    until [ "$(visible --classname '^corvane$')" -ge 1 ]; do sleep 0.01; done
    xdotool key a
    until [ "$(visible --name '^Corvane \(DEMO\)$')" -ge 1 ]; do sleep 0.01; done
    times+=($(($(now_ms) - start)))
    peaks+=("$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
echo "start-up to main window, ms: ${times[*]}"
echo "median start-up: $(median "${times[@]}") ms"
echo "peak resident memory, kB: ${peaks[*]} (median $(median "${peaks[@]}") kB)"
