#!/usr/bin/env bash
# The Debian package as a user meets it: packed from the build, installed,
# the converter run on a copy of the sample by an unprivileged user, removed,
# and nothing of it left behind.
#
#   package.sh BUILD_DIR SOURCE_DIR SCENARIO
#
#   dpkg-root   offline: the package's contents and fields, then dpkg installs
#               it into an empty root of its own (--root; fakeroot when not
#               root) and the programs there run on this machine's libraries;
#               its dependencies are checked with apt-get --simulate.
#   fresh-root  a fresh Debian 12 made with debootstrap in the build folder:
#               apt-get installs the package with its dependencies from the
#               mirror, nobody converts the sample and starts the desktop
#               program offscreen, apt-get removes it. Needs root and the
#               network (one to three minutes); it runs only when
#               ZAVIO_FRESH_ROOT=1, and is skipped with its reason otherwise.
#
# Status 77 and "skipped: reason" where the scenario cannot run here.
set -euo pipefail
export LC_ALL=C.UTF-8
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
scenario=$3

skip() {
    echo "skipped: $*"
    exit 77
}
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

command -v dpkg-deb >/dev/null || skip "dpkg-deb is missing (Debian package dpkg)"
command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps is missing (Debian package dpkg-dev)"
[ -x "$build/zavio" ] || skip "the desktop program is not built (ZAVIO_BUILD_GUI=OFF)"
case $scenario in
dpkg-root)
    as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v fakeroot >/dev/null || skip "not root, and fakeroot is missing (Debian package fakeroot)"
        as_root=(fakeroot)
    fi
    ;;
fresh-root)
    [ "${ZAVIO_FRESH_ROOT:-}" = 1 ] ||
        skip "set ZAVIO_FRESH_ROOT=1 to make a fresh Debian 12 root (root, network, one to three minutes)"
    [ "$(id -u)" -eq 0 ] || skip "a fresh root needs root (debootstrap, chroot)"
    command -v debootstrap >/dev/null || skip "debootstrap is missing (Debian package debootstrap)"
    ;;
*)
    echo "package.sh: no scenario $scenario" >&2
    exit 2
    ;;
esac

# The fresh root is large and stays below the build folder; the dpkg root
# goes to the temporary folder, which nobody can reach (a build in root's
# home folder is closed to others).
scratch_base=${TMPDIR:-/tmp}
[ "$scenario" = fresh-root ] && scratch_base=$build
scratch=$(mktemp -d "$scratch_base/zavio-package-test.XXXXXX")
chmod 755 "$scratch"
mounted=
gui_pid=
cleanup() {
    [ -n "$gui_pid" ] && { kill "$gui_pid" 2>/dev/null || true; wait "$gui_pid" 2>/dev/null || true; }
    [ -n "$mounted" ] && umount "$mounted"
    rm -rf --one-file-system "$scratch"
}
trap cleanup EXIT

# The package, packed from this build as `cmake --build --target deb` packs it.
start=$SECONDS
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/pack" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; exit 1; }
debs=("$scratch"/pack/zavio_*_*.deb)
deb=${debs[0]}
version=$(sed -n 's/^#define ZAVIO_VERSION "\(.*\)"$/\1/p' "$build/generated/res/Version.h")
[ "$(basename "$deb")" = "zavio_${version}_$(dpkg --print-architecture).deb" ] ||
    fail "the package is named $(basename "$deb")"
echo "packed $(basename "$deb") in $((SECONDS - start)) s"

# What a user finds on the disk afterwards, whatever the root.
check_installed() {
    local root=$1 file
    for file in usr/bin/zavio-convert usr/bin/zavio usr/lib/zavio/zavio usr/lib/zavio/Help/Zavio.htm \
        usr/share/man/man1/zavio.1.gz usr/share/man/man1/zavio-convert.1.gz \
        usr/share/applications/zavio.desktop usr/share/mime/packages/zavio.xml \
        usr/share/icons/hicolor/scalable/apps/zavio.svg usr/share/doc/zavio/copyright \
        usr/share/doc/zavio/changelog.gz; do
        [ -e "$root/$file" ] || fail "/$file is not installed"
    done
    if command -v chmcmd >/dev/null && [ ! -e "$root/usr/lib/zavio/Zavio.chm" ]; then
        fail "/usr/lib/zavio/Zavio.chm is not installed"
    fi
    for file in usr/bin/zavio-convert usr/lib/zavio/zavio; do
        file -b "$root/$file" | grep -q ', stripped' || fail "/$file is not stripped"
    done
}

# The sample, copied for the user who converts it; the copy is theirs.
prepare_sample() {
    local top=$1 owner=$2
    mkdir -p "$top/conv" "$top/home" "$top/run"
    cp "$source_dir/samples/manual.htm" "$source_dir/samples/Zavio.cnt" "$top/conv/"
    chmod 700 "$top/run"
    chown -R "$owner" "$top"
}

# What the conversion must have left in TOP (seen from outside the root).
check_converted() {
    local top=$1
    [ -f "$top/conv/Zavio.htm" ] || fail "the conversion wrote no contents page"
    [ -f "$top/Finished/ListTitl.txt" ] || fail "the conversion wrote no ListTitl.txt"
    [ -f "$top/Finished/manual.htm" ] || fail "the manuscript was not moved into Finished"
}

case $scenario in
dpkg-root)
    fields=$(dpkg-deb -f "$deb" Depends)
    for needed in libqt6widgets6 libqt6printsupport6 libqt6network6 qt6-qpa-plugins libc6; do
        grep -q "\b$needed\b" <<<"$fields" || fail "Depends does not name $needed: $fields"
    done
    if [ -n "$(find /var/lib/apt/lists -name '*Packages*' -print -quit 2>/dev/null)" ]; then
        apt-get install --simulate "$deb" >"$scratch/simulate.log" 2>&1 ||
            fail "apt-get cannot install the package here: $(cat "$scratch/simulate.log")"
    fi

    root=$scratch/root
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
    touch "$root/var/lib/dpkg/status"
    dpkg_root=("${as_root[@]}" dpkg --root="$root" --force-not-root --force-depends --log=/dev/null)
    "${dpkg_root[@]}" -i "$deb" >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log"; exit 1; }
    check_installed "$root"

    user=$scratch/user
    as_user=()
    if [ "$(id -u)" -eq 0 ]; then
        prepare_sample "$user" nobody
        as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
    else
        prepare_sample "$user" "$(id -u)"
    fi
    run() { "${as_user[@]}" env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$user/home" "$@"; }
    [ "$(run zavio --version)" = "zavio (Zavio) $version" ] || fail "zavio --version without a display"
    run sh -c 'cd "$1" && zavio-convert --hp-type conv/manual.htm conv/Zavio.cnt' sh "$user" \
        >"$scratch/convert.out" 2>"$scratch/convert.err" || fail "zavio-convert: $(cat "$scratch/convert.err")"
    check_converted "$user"

    "${dpkg_root[@]}" -r zavio >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log"; exit 1; }
    left=$(cd "$root" && find . -mindepth 1 ! -path './var' ! -path './var/lib' ! -path './var/lib/dpkg*')
    [ -z "$left" ] || fail "the removal left: $left"
    ;;

fresh-root)
    root=$scratch/root
    mirror=${ZAVIO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
    start=$SECONDS
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$scratch/debootstrap.log" 2>&1 ||
        { tail -n 20 "$scratch/debootstrap.log"; exit 1; }
    echo "debootstrap: $((SECONDS - start)) s"
    mount -t proc proc "$root/proc"
    mounted=$root/proc
    in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

    # The root as it is without the package, to compare with what the
    # removal leaves: its dependencies come first, the package then alone.
    listing() { (cd "$root" && find . -xdev \( -path ./proc -o -path ./tmp -o -path ./var/cache -o \
        -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./var/log \) -prune -o -print | sort); }
    cp "$deb" "$root/tmp/"
    start=$SECONDS
    in_root apt-get update -qq >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; exit 1; }
    # Recommends (a Japanese font, xdg-utils) would treble the download.
    in_root apt-get satisfy -y -qq --no-install-recommends "$(dpkg-deb -f "$deb" Depends)" \
        >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; exit 1; }
    listing >"$scratch/without.txt"
    in_root apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" >"$scratch/apt.log" 2>&1 ||
        { cat "$scratch/apt.log"; exit 1; }
    echo "apt-get install with the dependencies: $((SECONDS - start)) s"
    check_installed "$root"

    prepare_sample "$root/tmp/user" nobody
    as_nobody=(chroot --userspec=nobody:nogroup "$root" env -i PATH=/usr/bin:/bin HOME=/tmp/user/home)
    [ "$("${as_nobody[@]}" zavio --version)" = "zavio (Zavio) $version" ] || fail "zavio --version without a display"
    [ "$("${as_nobody[@]}" zavio-convert --version)" = "zavio-convert (Zavio) $version" ] || fail "zavio-convert --version"
    "${as_nobody[@]}" sh -c 'cd /tmp/user && zavio-convert --hp-type conv/manual.htm conv/Zavio.cnt' \
        >"$scratch/convert.out" 2>"$scratch/convert.err" || fail "zavio-convert: $(cat "$scratch/convert.err")"
    check_converted "$root/tmp/user"
    # The desktop program starts on what the package brought: it listens for
    # later starts once it is up.
    # Exec'd all the way down, so the pid the clean-up kills is the program's.
    (exec "${as_nobody[@]}" XDG_RUNTIME_DIR=/tmp/user/run QT_QPA_PLATFORM=offscreen zavio) >"$scratch/gui.log" 2>&1 &
    gui_pid=$!
    for _ in $(seq 100); do
        [ -S "$root/tmp/user/run/zavio/instance" ] && break
        sleep 0.1
    done
    [ -S "$root/tmp/user/run/zavio/instance" ] || fail "the desktop program did not start: $(cat "$scratch/gui.log")"
    kill "$gui_pid" && wait "$gui_pid" 2>/dev/null || true
    gui_pid=

    in_root apt-get remove -y -qq zavio >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; exit 1; }
    changed=$(listing | diff "$scratch/without.txt" - | grep '^[<>]' || true)
    [ -z "$changed" ] || fail "the root after apt-get remove zavio is not as it was without it: $changed"
    in_root dpkg-query -W zavio >/dev/null 2>&1 && fail "dpkg still knows zavio"
    ;;
esac

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "package ($scenario): all checks passed"
