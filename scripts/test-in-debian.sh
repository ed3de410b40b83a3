#!/usr/bin/env bash
# Runs the README's test command on another Debian release: scripts/test.sh, with its arguments,
# on a clean clone of this checkout's HEAD, in a debootstrap chroot of the release. The chroot is
# kept in .cache/debian/RELEASE and reused; inside it scripts/deps.sh installs what is missing,
# as on the host. Needs root (through sudo when not root) and the Debian mirror.
#
#   scripts/test-in-debian.sh trixie
#   scripts/test-in-debian.sh testing --sanitize
#   scripts/test-in-debian.sh trixie --windows    (scripts/windows.sh instead)
#
# MARLOVIN_DEBIAN_MIRROR names another mirror (default http://deb.debian.org/debian).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || [[ "$1" == -* ]]; then
    echo "usage: $0 RELEASE [scripts/test.sh arguments]" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=MARLOVIN_DEBIAN_MIRROR "$0" "$@"
fi
release=$1
shift
script=scripts/test.sh
if [ "${1:-}" = --windows ]; then
    script=scripts/windows.sh
    shift
fi
mirror=${MARLOVIN_DEBIAN_MIRROR:-http://deb.debian.org/debian}
# The chroot's processes are found by their root, which the kernel names without symbolic links.
top=$(pwd -P)
root=$top/.cache/debian/$release
source=/root/marlovin

scripts/deps.sh chroot
mkdir -p "$(dirname "$root")"
# One run a release at a time: they share the chroot and its mounts.
exec 9>"$root.lock"
flock 9

mounts=()
cleanup() {
    # Whatever a test left running in the chroot would keep its mounts busy.
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
    done
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}"
    done
    mounts=()
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
mount_in() {
    mkdir -p "$root$2"
    mount "${@:3}" "$1" "$root$2"
    mounts+=("$root$2")
}

if [ ! -e "$root/.complete" ]; then
    # A chroot that a run left unfinished is made anew; never through a mount into the host.
    ! grep -qF " $root/" /proc/mounts || { echo "$root still has mounts" >&2 && exit 1; }
    rm -rf --one-file-system "$root"
    debootstrap --variant=minbase --include=ca-certificates "$release" "$root" "$mirror"
    # The mirror serves a dated snapshot, whose Release files of a moving suite are past their
    # Valid-Until date.
    echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99marlovin-snapshot"
    # Packages must not start services inside the chroot.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
    touch "$root/.complete"
fi

mount_in proc /proc -t proc
mount_in sysfs /sys -t sysfs
mount_in /dev /dev --rbind --make-rslave
# A fresh /tmp for every run, as a machine has after booting: no X server has run yet.
mount_in tmpfs /tmp -t tmpfs -o mode=1777
cp /etc/resolv.conf "$root/etc/resolv.conf"

rm -rf "$root$source"
git clone -q --no-hardlinks "$top" "$root$source"
# In the background, so that a signal to this script ends the run at once (bash would wait for a
# command in the foreground); the cleanup then ends what runs in the chroot.
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    "$source/$script" "$@" &
wait $!
