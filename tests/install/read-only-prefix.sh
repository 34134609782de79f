#!/usr/bin/env bash
# Installs the build into a fresh prefix, makes it read-only, and runs the
# installed programs as a user who cannot write there (root's tests run them
# as nobody, anyone else's as themselves): zavio-convert on the sample from
# the PATH, then the desktop program offscreen with a file, and a second start
# that hands its file to the first.
#   read-only-prefix.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
export LC_ALL=C.UTF-8
build=$1
source_dir=$2

scratch=$(mktemp -d)
first_pid=
cleanup() {
    if [ -n "$first_pid" ]; then
        kill "$first_pid" 2>/dev/null || true
        wait "$first_pid" 2>/dev/null || true
    fi
    chmod -R u+w "$scratch" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 || { cat "$scratch/install.log"; exit 1; }

# What the install must hold.
for file in bin/zavio-convert bin/zavio lib/zavio/zavio share/man/man1/zavio-convert.1 share/man/man1/zavio.1 \
    share/applications/zavio.desktop share/mime/packages/zavio.xml share/icons/hicolor/scalable/apps/zavio.svg; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
[ -f "$prefix/share/mime/text/x-winhelp-contents.xml" ] || fail "the MIME cache does not know the contents-file type"
grep -qx 'Exec=zavio %F' "$prefix/share/applications/zavio.desktop" || fail "the desktop entry does not take files"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/zavio.desktop" || fail "the desktop entry is not valid"
fi
version=$(sed -n 's/^#define ZAVIO_VERSION "\(.*\)"$/\1/p' "$build/generated/res/Version.h")
for program in zavio zavio-convert; do
    page=$prefix/share/man/man1/$program.1
    grep -q "^\.TH .* \"Zavio $version\"" "$page" || fail "the manual page of $program does not name version $version"
    if command -v groff >/dev/null; then
        warnings=$(groff -k -Tutf8 -man -ww -z "$page" 2>&1) || true
        [ -z "$warnings" ] || fail "the manual page of $program has warnings: $warnings"
    fi
done

# A user who cannot write into the prefix, with a folder of their own for
# the home, the runtime folder and the conversion.
chmod 755 "$scratch"
chmod -R a-w,a+rX "$prefix"
user=$scratch/user
home=$user/home
work=$user/conv
mkdir -p "$home" "$user/run" "$work"
chmod 700 "$user/run"
cp "$source_dir/samples/manual.htm" "$source_dir/samples/Zavio.cnt" "$work/"
printf 'one\r\n' >"$work/one.txt"
printf 'two\r\n' >"$work/two.txt"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody "$user"
    as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
fi
user_env=(env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" LANG=C.UTF-8)
run() { "${as_user[@]}" "${user_env[@]}" "$@"; }
if run touch "$prefix/lib/zavio/probe" 2>/dev/null; then
    fail "the prefix is not read-only for the user who runs the programs"
fi
touch "$scratch/before-run"

# Both programs answer --help and --version as Linux programs do, without a
# display: on standard output, status 0.
for program in zavio zavio-convert; do
    [ "$(run "$program" --version 2>&1)" = "$program (Zavio) $version" ] || fail "$program --version"
    help=$(run "$program" --help 2>&1) || fail "$program --help ended with a failure"
    [[ $help == "Usage: $program "* ]] || fail "$program --help: $help"
done

# The converter from the PATH, on the sample, with no runtime folder: it
# writes its files directly and leaves nothing in the user's folders.
if ! run sh -c 'cd "$1" && zavio-convert --hp-type manual.htm Zavio.cnt' sh "$work" \
    >"$scratch/convert.out" 2>"$scratch/convert.err"; then
    fail "zavio-convert ended early: $(cat "$scratch/convert.err")"
fi
[ -f "$work/Zavio.htm" ] || fail "zavio-convert wrote no contents page"
[ -f "$user/Finished/ListTitl.txt" ] || fail "zavio-convert wrote no ListTitl.txt"
[ ! -e "$home/.cache/zavio" ] || fail "zavio-convert made a working folder in the user's cache folder"

# The desktop program, offscreen. The shell's open request opens a file as a
# dropped file, which joins the recent-file list in the user's settings.
settings="$home/.config/zavio/zavio.conf"
gui_env=(XDG_RUNTIME_DIR="$user/run" QT_QPA_PLATFORM=offscreen)
gui() { run "${gui_env[@]}" "$@"; }
opened() {
    local i
    for i in $(seq 300); do
        grep -q "$1" "$settings" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}
# Exec'd all the way down, so the pid the clean-up kills is the program's own
# and no copy outlives the test.
(exec "${as_user[@]}" "${user_env[@]}" "${gui_env[@]}" zavio "$work/one.txt") >"$scratch/first.log" 2>&1 &
first_pid=$!
opened one.txt || fail "the first start did not open its file: $(cat "$scratch/first.log")"
[ -S "$user/run/zavio/instance" ] || fail "the first start does not take later starts' files"
if gui zavio "$work/two.txt" >"$scratch/second.log" 2>&1; then
    opened two.txt || fail "the running copy did not open the second start's file"
else
    fail "the second start failed: $(cat "$scratch/second.log")"
fi
kill -0 "$first_pid" 2>/dev/null || fail "the first start ended: $(cat "$scratch/first.log")"

written=$(find "$prefix" -newer "$scratch/before-run" | head -n 5)
[ -z "$written" ] || fail "something was written into the prefix: $written"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "install: all checks passed"
