#!/bin/busybox sh
# First process of the throwaway virtual machine, from its initramfs: loads the modules listed in
# /modules (in dependency order), mounts the host's root read-only over 9p under a tmpfs overlay, runs
# /kernel-test/job from the shared results folder in a chroot there, and powers off whatever happens.
/bin/busybox --install -s /bin
export PATH=/bin

say() { echo "kernel-test init: $*"; }
stop() {
    [ -n "$1" ] && say "$1"
    sync
    poweroff -f
}

mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev

while read -r module; do
    insmod "/$module" || stop "cannot load $module"
done </modules

mkdir -p /lower /layers /newroot
mount -t 9p -o ro,trans=virtio,version=9p2000.L,cache=loose,msize=512000 root /lower ||
    stop "cannot mount the host's root"
mount -t tmpfs -o size=512m layers /layers
mkdir -p /layers/upper /layers/work
mount -t overlay -o lowerdir=/lower,upperdir=/layers/upper,workdir=/layers/work overlay /newroot ||
    stop "cannot mount the overlay"

mkdir -p /newroot/kernel-test
mount -t 9p -o trans=virtio,version=9p2000.L results /newroot/kernel-test || stop "cannot mount the results"
mount -t proc proc /newroot/proc
mount -t sysfs sysfs /newroot/sys
mount -t devtmpfs devtmpfs /newroot/dev
mkdir -p /newroot/dev/shm /newroot/dev/pts
mount -t tmpfs shm /newroot/dev/shm
mount -t devpts devpts /newroot/dev/pts
# Fresh /run and /tmp: nothing of the host's services (no udev control socket) is seen in here.
mount -t tmpfs run /newroot/run
mount -t tmpfs tmp /newroot/tmp

chroot /newroot /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root /bin/sh /kernel-test/job
echo "$?" >/newroot/kernel-test/status
umount /newroot/kernel-test
stop ""
