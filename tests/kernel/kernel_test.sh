#!/usr/bin/env bash
# The real program against kernel game controllers: boots Debian's kernel in a throwaway QEMU machine
# (TCG, no network) over this machine's own root, read-only under a tmpfs overlay, and runs guest.sh
# there with or without the udev daemon. Prints the guest's pass and fail lines; exit status 0 when
# every check passed.
# Usage: kernel_test.sh <build dir> udevd|no-udevd [scenario...]   (scenarios: xbox360 stick many two_pads chosen twins
#   background soak rest hid_kernel hid_hidapi hid_panel hid_poll hid_soak profiles output latency; by default all but
#   latency, profiles and output with udevd only, stick, many and hid_panel without)
# CORVANE_SOAK_CYCLES: how many times each soak unplugs and replugs its pad (default 10; 100 cycles took
#   162 to 184 s for the X-Box pad, 250 to 340 s for the HID pad, in one run).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 2 ] || { [ "$2" != udevd ] && [ "$2" != no-udevd ]; }; then
    sed -n 's/^# Usage: /usage: /p' "$0" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
mode=$2
shift 2
scenarios=("$@")
if [ ${#scenarios[@]} -eq 0 ]; then
    scenarios=(xbox360 two_pads chosen twins background soak rest hid_kernel hid_hidapi hid_poll hid_soak)
    # Profiles, the output, the many buttons and the layouts of a stick and a HID stick do not depend on
    # how devices are found: each runs once, in the run that is shorter without it (the two run side by
    # side).
    if [ "$mode" = udevd ]; then scenarios+=(profiles output); else scenarios+=(stick many hid_panel); fi
fi

fail() { echo "kernel-test: $*" >&2; exit 1; }
tools=("$build/tests/kernel/uinput_pad" "$build/tests/kernel/stick_marks" "$build/tests/kernel/uhid_pad"
    "$build/tests/kernel/poll_timing" "$build/bench/background_cpu")
for program in "$build/src/corvane" "${tools[@]}"; do
    [ -x "$program" ] || fail "missing $program (build it first)"
done

# Debian's kernel: the newest one installed with its modules (the running kernel is the host's own).
version=$(ls /lib/modules | sort -V | tail -1)
kernel=/boot/vmlinuz-$version
[ -n "$version" ] && [ -r "$kernel" ] || fail "no Debian kernel installed (package linux-image-amd64)"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/initramfs/bin" "$tmp/initramfs"/{proc,sys,dev} "$tmp/results"
cp /bin/busybox "$tmp/initramfs/bin/busybox"
cp "$here/init.sh" "$tmp/initramfs/init"
# The modules the guest needs before the root is mounted, with everything they depend on, in the order
# modprobe would load them.
# HID devices made through uhid find hid-generic and hid-playstation loaded: nothing loads a driver for a
# device in here.
modprobe -S "$version" -a --show-depends virtio_pci 9pnet_virtio 9p overlay uinput evdev \
    uhid hid-generic hid-playstation |
    awk '$1 == "insmod" && !seen[$2]++ { print $2 }' >"$tmp/modules.list"
while read -r module; do
    mkdir -p "$tmp/initramfs$(dirname "$module")"
    cp "$module" "$tmp/initramfs$module"
    echo "${module#/}"
done <"$tmp/modules.list" >"$tmp/initramfs/modules"
(cd "$tmp/initramfs" && find . | busybox cpio -o -H newc 2>/dev/null | gzip -1) >"$tmp/initramfs.gz"

# The guest gets a /tmp of its own, so what it runs travels in the shared folder.
cp "$here/guest.sh" "$build/src/corvane" "${tools[@]}" "$tmp/results/"
timeout=${CORVANE_KERNEL_TEST_TIMEOUT:-1200}
cat >"$tmp/results/job" <<EOF
export CORVANE_SOAK_CYCLES=${CORVANE_SOAK_CYCLES:-10} CORVANE_LATENCY_PRESSES=${CORVANE_LATENCY_PRESSES:-200}
exec /bin/sh /kernel-test/guest.sh $mode $((timeout - 60)) /kernel-test/corvane /kernel-test/uinput_pad /kernel-test/stick_marks /kernel-test ${scenarios[*]}
EOF

# KVM where this user may use it and it works (a nested one may fail to start any machine): many times
# quicker than emulating every instruction.
accel=tcg cpu=max
# A machine whose processors have no virtualisation of their own may still offer /dev/kvm and start
# a stopped machine, and then never boot one.
if [ -w /dev/kvm ] && grep -qwE 'vmx|svm' /proc/cpuinfo && (echo quit | timeout 10 qemu-system-x86_64 -accel kvm -cpu host -machine pc \
    -display none -nodefaults -monitor stdio -S) >/dev/null 2>&1; then
    accel=kvm cpu=host
fi
echo "kernel-test: Linux $version, $mode, $accel, scenarios: ${scenarios[*]}"
started=$SECONDS
status=0
timeout --kill-after=10 "$timeout" \
    qemu-system-x86_64 -machine pc -accel "$accel" -cpu "$cpu" -smp 1 -m 1536 \
    -display none -vga none -monitor none -no-reboot -nic none -serial "file:$tmp/console.log" \
    -kernel "$kernel" -initrd "$tmp/initramfs.gz" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1" \
    -virtfs local,path=/,mount_tag=root,security_model=none,readonly=on,multidevs=remap \
    -virtfs "local,path=$tmp/results,mount_tag=results,security_model=none" </dev/null || status=$?
echo "kernel-test: machine ran $((SECONDS - started)) s, $(grep -o 'booted in [0-9.]* s' "$tmp/console.log" || echo 'not booted')"

[ -f "$tmp/results/results" ] && cat "$tmp/results/results"
guest_status=$(cat "$tmp/results/status" 2>/dev/null || echo none)
if [ "$status" -ne 0 ] || [ "$guest_status" != 0 ]; then
    echo "kernel-test: qemu status $status, guest status $guest_status; console:"
    tail -150 "$tmp/console.log"
    exit 1
fi
grep -q '^pass' "$tmp/results/results" || fail "no check ran"
echo "kernel-test: all checks passed"
