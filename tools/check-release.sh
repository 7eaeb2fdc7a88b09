#!/usr/bin/env bash
# tools/check-release.sh [--reuse] SUITE CHROOT-DIR
# Checks the current commit on a Debian release as a newcomer gets it:
# SUITE is bookworm (12), trixie (13) or sid (unstable). A fresh minbase
# chroot of SUITE in CHROOT-DIR (outside the clone), made with debootstrap
# from the Debian mirror this machine's apt uses, with git and sudo and a
# user of its own; there, a clone of HEAD builds the package with
# tools/package.sh (that suite's lintian), installs the .deb with apt and
# starts it from /, then runs ./test step by step (set-up, build, each ctest
# line). On sid also what Debian checks before a package migrates: piuparts
# (install, remove, purge, nothing left behind), the upgrade from a .deb
# built on trixie (VARDO_UPGRADE_FROM, when set), and autopkgtest of the
# installed package in the chroot, apart from the build tree.
# Uncommitted changes are not checked: commit first.
#
# Run as root on a Debian machine. --reuse keeps an existing chroot (only its
# clone is made anew). The downloaded packages are kept in CHROOT-DIR.debs so
# that a second run fetches nothing, and the build's compiler cache (ccache)
# in CHROOT-DIR.ccache, so that it compiles only what changed. The desktop
# steps start Orca, and two Orca instances on one machine replace each
# other: with VARDO_ORCA_LOCK naming a lock file, they run under flock on it,
# as any other run of them on the machine should.
# The mirror is VARDO_MIRROR when set. Not part of CI: it takes about an hour.
set -euo pipefail

reuse=0
if [ "${1:-}" = --reuse ]; then
    reuse=1
    shift
fi
if [ $# -ne 2 ] || [[ "$2" != /* ]]; then
    echo "usage: $0 [--reuse] bookworm|trixie|sid /ABSOLUTE/CHROOT-DIR" >&2
    exit 2
fi
suite=$1
case "$suite" in
    bookworm|trixie|sid) ;;
    *) echo "$0: the suite is bookworm, trixie or sid" >&2; exit 2 ;;
esac
root=${2%/}
[ "$(id -u)" -eq 0 ] || { echo "$0: run as root (debootstrap, chroot, mounts)" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse HEAD)
[ -z "$(git -C "$repo" status --porcelain --untracked-files=no)" ] \
    || echo "note: uncommitted changes are not checked, only $commit"
case "$root/" in
    "$repo"/*) echo "$0: the chroot must live outside the clone" >&2; exit 2 ;;
esac

command -v debootstrap >/dev/null \
    || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap

# The mirror and the security archive as this machine's apt reaches them.
archive() { # LABEL
    # shellcheck disable=SC2016 # apt's own fields, not the shell's
    apt-get indextargets --format '$(ORIGIN)|$(LABEL)|$(SITE)' 'Created-By: Packages' \
        | awk -F'|' -v label="$1" '$1 == "Debian" && $2 == label { print $3; exit }'
}
mirror=${VARDO_MIRROR:-$(archive Debian)}
security=$(archive Debian-Security)
[ -n "$mirror" ] || { echo "$0: no Debian mirror in apt's sources; set VARDO_MIRROR" >&2; exit 2; }

mounted() { findmnt -rn -o TARGET | awk -v root="$root" 'index($0, root "/") == 1'; }
unmount_all() {
    local target
    for target in $(mounted | sort -r); do umount -l "$target" || true; done
}
trap unmount_all EXIT
trap 'exit 130' INT TERM HUP
unmount_all

user=newcomer
if ((reuse)) && [ -x "$root/usr/bin/sudo" ]; then
    echo "== reusing the chroot in $root"
else
    # Only a folder this script made is removed, and never across a mount.
    if [ -e "$root" ]; then
        [ -f "$root/.vardo-check-$suite" ] || { echo "$0: $root exists and is not a chroot of this script" >&2; exit 2; }
        [ -z "$(mounted)" ] || { echo "$0: mounts left under $root" >&2; exit 2; }
        rm -rf --one-file-system "$root"
    fi
    mkdir -p "$root" "$root.debs"
    echo "== debootstrap $suite from $mirror"
    debootstrap --variant=minbase --include=git,sudo,ca-certificates \
        --cache-dir="$root.debs" "$suite" "$root" "$mirror" >"$root.debootstrap.log" \
        || { tail -n 20 "$root.debootstrap.log"; exit 1; }
    touch "$root/.vardo-check-$suite"
    if [ "$suite" = sid ]; then
        # Unstable has no updates or security suite; a mirror's index of it
        # may have passed its valid-until date.
        echo "deb $mirror sid main" >"$root/etc/apt/sources.list"
        echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/99vardo-check"
    else
        {
            echo "deb $mirror $suite main"
            echo "deb $mirror $suite-updates main"
            [ -z "$security" ] || echo "deb $security $suite-security main"
        } >"$root/etc/apt/sources.list"
    fi
    chroot "$root" useradd --create-home --shell /bin/bash "$user"
    echo "$user ALL=(ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/$user"
    chmod 0440 "$root/etc/sudoers.d/$user"
fi

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
# The packages apt fetches later are kept beside debootstrap's.
mkdir -p "$root/var/cache/apt/archives"
mount --bind "$root.debs" "$root/var/cache/apt/archives"
mkdir -p "$root.ccache"
chown "$(chroot "$root" id -u "$user"):$(chroot "$root" id -g "$user")" "$root.ccache"
mkdir -p "$root/home/$user/.ccache"
mount --bind "$root.ccache" "$root/home/$user/.ccache"
ccache_env=("CCACHE_DIR=/home/$user/.ccache" "CCACHE_BASEDIR=/home/$user"
            CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache)
cp /etc/resolv.conf /etc/hosts "$root/etc/" 2>/dev/null || true

# A command in the chroot, as the newcomer, in the clone.
as_user() {
    chroot "$root" /usr/sbin/runuser -u "$user" -- /usr/bin/env -i \
        HOME="/home/$user" USER="$user" LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/bin:/usr/bin:/bin "${ccache_env[@]}" \
        /bin/bash -c "cd ~/vardo && $1"
}
# The same in a network namespace of its own, so that an X server in the
# chroot neither meets nor is reached by one of the machine's displays, and
# under the Orca lock when there is one.
isolated() {
    if [ -n "${VARDO_ORCA_LOCK:-}" ]; then
        # Only this subshell holds the lock: a server left behind by a killed
        # run must not keep it from every later Orca on the machine.
        (flock 9 && unlocked_isolated "$1" 9>&-) 9>"$VARDO_ORCA_LOCK"
    else
        unlocked_isolated "$1"
    fi
}
unlocked_isolated() {
    unshare --net /bin/sh -c 'ip link set lo up 2>/dev/null; exec "$@"' sh \
        chroot "$root" /usr/sbin/runuser -u "$user" -- /usr/bin/env -i \
        HOME="/home/$user" USER="$user" LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/bin:/usr/bin:/bin /bin/bash -c "cd ~/vardo && $1"
}

echo "== cloning $commit"
rm -rf "$root/home/$user/vardo"
git clone --quiet --no-checkout "$repo" "$root/home/$user/vardo"
git -C "$root/home/$user/vardo" checkout --quiet --detach "$commit"
chroot "$root" chown -R "$user:$user" "/home/$user/vardo"
as_user 'command -v ccache >/dev/null || sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ccache'

# piuparts runs on this machine against a fresh chroot of its own, from the
# mirror, with the .deb the chroot above built: install, remove, purge,
# nothing left behind. The package is in no archive, so there is no
# archive version to upgrade from: with VARDO_UPGRADE_FROM naming a .deb
# built on trixie, the chroot above installs that first and the new one
# over it, then removes and purges it.
piuparts_run() {
    command -v piuparts >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq piuparts >/dev/null
    # Debian 12's piuparts does not yet know unstable's debconf leaves its
    # cache folder behind after the dependencies' set-up; vardo runs no
    # maintainer script.
    piuparts --distribution=sid --mirror="$mirror main" --no-upgrade-test --no-check-valid-until \
        --ignore=/var/cache/debconf/tmp.ci/ "$(ls "$root/home/$user/vardo/build-deb/"vardo_*_amd64.deb)"
}
upgrade_run() {
    cp "$VARDO_UPGRADE_FROM" "$root/tmp/vardo-from.deb"
    as_user 'sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vardo >/dev/null
             sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/vardo-from.deb >/dev/null
             sudo dpkg -i build-deb/vardo_*_amd64.deb >/dev/null
             cd / && QT_QPA_PLATFORM=offscreen timeout 5 vardo; test $? -eq 124 || exit 1
             sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vardo >/dev/null
             ! dpkg -S vardo 2>/dev/null && [ ! -e /usr/lib/vardo ]'
}

results=()
step() { # NAME COMMAND...
    local name=$1
    shift
    echo "== $name"
    if "$@"; then results+=("PASS $name"); else results+=("FAIL $name"); fi
}

# The package first, the quicker of the two: it builds the program alone.
# Without the build-time suites, as in CI: ./test's steps below run them all
# on the same sources.
step "tools/package.sh" as_user 'DEB_BUILD_OPTIONS=nocheck tools/package.sh'
step "the .deb installs with apt and starts from /" as_user \
    'sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./build-deb/vardo_*.deb >/dev/null
     cd / && QT_QPA_PLATFORM=offscreen timeout 5 vardo; test $? -eq 124'

# ./test, step by step: its set-up and build, then each of its ctest lines,
# the desktop ones under the Orca lock and apart from the machine's network.
step "tools/setup.sh" as_user tools/setup.sh
mapfile -t lines < <(grep -E '^ctest ' "$root/home/$user/vardo/test")
for line in "${lines[@]}"; do
    if [[ "$line" == *"-L desktop"* ]]; then
        step "$line" isolated "$line"
    else
        step "$line" as_user "$line"
    fi
done

# What Debian runs before a package migrates to testing.
if [ "$suite" = sid ]; then
    step "autopkgtest of the installed package" as_user \
        'command -v autopkgtest >/dev/null || sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq autopkgtest >/dev/null
         dir=$(mktemp -d) && cp -r debian "$dir/" && cd "$dir" && sudo autopkgtest ~/vardo/build-deb/vardo_*.deb ./ -- null'
    step "piuparts: install, remove, purge" piuparts_run
    [ -z "${VARDO_UPGRADE_FROM:-}" ] || step "upgrade from the trixie package, then purge" upgrade_run
fi

echo "== $suite ($(cat "$root/etc/debian_version")), commit $commit"
printf '%s\n' "${results[@]}"
! printf '%s\n' "${results[@]}" | grep -q '^FAIL'
