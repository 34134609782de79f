#!/usr/bin/env bash
# zavio-convert against real file-system faults, where the unit tests can
# only inject them: a read-only conversion folder, a disk that fills up, and
# folders whose names an old Windows archive brought in Shift-JIS bytes; and
# links at the names a run writes or reads. Each checks what a user relies
# on: no source lost, no file cut short or left under a temporary name,
# ListTitl.txt naming only pages that exist, and exit status 3 with every
# file not written named on standard error with the reason on the line after.
#
#   faults.sh CONVERT SCENARIO     SCENARIO: read-only-folder, full-disk,
#                                            shift-jis-folder, links
#
# The first two mount what they need in a mount namespace of their own
# (unshare); where that is not allowed they are skipped (status 77).
set -euo pipefail
export LC_ALL=C
convert=$1
scenario=$2

fail() {
    echo "FAIL: $*" >&2
    failed=1
}
failed=0

# A manuscript with one topic per argument, t1, t2, ..., each with a body of
# that many bytes, as Word writes the simplest one.
manuscript() {
    local topics=$# i=0 bytes
    printf '<html>\r\n<head>\r\n<title>m</title>\r\n</head>\r\n<body lang=JA>\r\n<div class=Section1>\r\n'
    for bytes in "$@"; do
        i=$((i + 1))
        [ "$i" -gt 1 ] && printf "\r\n<span lang=EN-US><br clear=all style='page-break-before:always'></span>\r\n"
        printf "<p class=MsoNormal><a style='mso-footnote-id:ftn%d' href=\"#_ftn%d\">#</a>Topic %d</p>\r\n" "$i" "$i" "$i"
        printf '<p class=MsoNormal>&nbsp;</p>\r\n<p class=MsoNormal>%s</p>\r\n' "$(head -c "$bytes" /dev/zero | tr '\0' x)"
    done
    printf "\r\n</div>\r\n\r\n<div style='mso-element:footnote-list'>\r\n"
    for ((i = 1; i <= topics; i++)); do
        printf "<div style='mso-element:footnote' id=ftn%d>\r\n" "$i"
        printf "<p class=MsoFootnoteText><a style='mso-footnote-id:ftn%d' href=\"#_ftnref%d\">#</a> t%d</p>\r\n</div>\r\n" \
            "$i" "$i" "$i"
    done
    printf '</div>\r\n</body>\r\n</html>\r\n'
}

# run TOP ARGS...: zavio-convert in TOP; its status and messages are kept
# in $status and $scratch/err. A run that hangs is stopped.
run() {
    local top=$1
    shift
    status=0
    (cd "$top" && timeout 60 "$convert" "$@" >"$scratch/out" 2>"$scratch/err") || status=$?
}

expect_status() {
    [ "$status" = "$1" ] || fail "$scenario: exit status $status, expected $1; messages: $(cat "$scratch/err")"
}

# The text (UTF-8) as the program writes it: CP932.
cp932() {
    printf "$@" | iconv -f UTF-8 -t CP932
}

# Every page the roomy reference run wrote is, in TOP, either the same file
# byte for byte or missing and named on standard error; nothing is left
# empty, cut, or under a temporary name.
check_pages_whole() {
    local top=$1 reference=$2 page name
    for page in "$reference"/conv/t*.htm; do
        name=$(basename "$page")
        if [ -e "$top/conv/$name" ]; then
            cmp -s "$page" "$top/conv/$name" || fail "$scenario: $name differs from a whole page"
        else
            grep -qF "/conv/$name" "$scratch/err" || fail "$scenario: $name is missing and not named on standard error"
        fi
    done
    if find "$top" -name '.zavio-*' | grep -q .; then fail "$scenario: a temporary file was left"; fi
    if find "$top" -type f -empty | grep -q .; then fail "$scenario: an empty file was left"; fi
}

# Every message that names a file not written has WRITE_REASON on the line
# after it, and one that names a source not moved MOVE_REASON.
check_reasons() {
    if awk -v write="$1" -v move="${2:-}" '
        expected != "" { if ($0 != expected) bad = 1; expected = "" }
        /はオープンできませんでした$/ { expected = write; seen = 1 }
        /を Finished フォルダに移動できませんでした$/ { expected = move; seen = 1 }
        END { exit !(seen && !bad && expected == "") }' "$scratch/err"; then
        return
    fi
    fail "$scenario: not every failure says why: $(cat "$scratch/err")"
}

# The source is whole, at its place or in Finished.
check_source_kept() {
    local top=$1 source=$2
    cmp -s "$source" "$top/conv/manual.htm" || cmp -s "$source" "$top/Finished/manual.htm" ||
        fail "$scenario: the manuscript was lost"
}

# Mounting needs a mount namespace; an unprivileged user gets one with a
# user namespace of its own. The mounts end with it.
if [ "$scenario" != shift-jis-folder ] && [ "$scenario" != links ] && [ "${3:-}" != inside ]; then
    if ! unshare -rm true 2>/dev/null; then
        echo "skipped: no mount namespace here (unshare -rm is refused)"
        exit 77
    fi
    exec unshare -rm bash "$0" "$convert" "$scenario" inside
fi

scratch=$(mktemp -d)
mounts=()
trap 'for m in "${mounts[@]}"; do umount "$m"; done; rm -rf "$scratch"' EXIT
# The working file goes to a folder of the test's own.
mkdir -p "$scratch/run"
export XDG_RUNTIME_DIR=$scratch/run

case "$scenario" in
read-only-folder)
    top=$scratch/top/root
    mkdir -p "$top/conv"
    manuscript 100 100 100 >"$top/conv/manual.htm"
    cp "$top/conv/manual.htm" "$scratch/source"
    mount --bind "$top/conv" "$top/conv"
    mounts+=("$top/conv")
    mount -o remount,bind,ro "$top/conv"
    run "$top" --html-help conv/manual.htm
    expect_status 3
    [ "$(ls "$top/conv")" = manual.htm ] || fail "$scenario: the read-only folder changed: $(ls "$top/conv")"
    check_source_kept "$top" "$scratch/source"
    for name in t1.htm t2.htm t3.htm manual.hhp "Table of Contents.hhc"; do
        grep -qF "/conv/$name はオープンできませんでした" "$scratch/err" || fail "$scenario: $name not named as not written"
    done
    grep -qF "/conv/manual.htm を Finished フォルダに移動できませんでした" "$scratch/err" ||
        fail "$scenario: the manuscript that stayed is not named"
    cp932 '\r\n///// Separated from manual.htm : 0 pages\r\n///// conv/manual.htm を Finished フォルダに移動できませんでした\r\n' |
        cmp -s - "$top/Finished/ListTitl.txt" || fail "$scenario: ListTitl.txt lists pages that do not exist"
    # The folder is a mount of its own: the move out of it meets another disk first.
    check_reasons "読み取り専用のディスクです。" "別のディスクへは移動できません。"
    ;;
full-disk)
    manuscript 6000 6000 6000 6000 6000 6000 6000 6000 6000 6000 6000 6000 >"$scratch/source"
    # The same conversion with room enough: the whole pages to compare with.
    mkdir -p "$scratch/roomy/reference/conv"
    cp "$scratch/source" "$scratch/roomy/reference/conv/manual.htm"
    run "$scratch/roomy/reference" --html-help conv/manual.htm
    expect_status 0
    # Room for the manuscript and a few pages; an earlier run's list stands in Finished.
    mkdir -p "$scratch/disk"
    mount -t tmpfs -o size=160k tmpfs "$scratch/disk"
    mounts+=("$scratch/disk")
    top=$scratch/disk/top
    mkdir -p "$top/conv" "$top/Finished"
    cp "$scratch/source" "$top/conv/manual.htm"
    printf 'the list of an earlier run\r\n' >"$top/Finished/ListTitl.txt"
    run "$top" --html-help conv/manual.htm
    expect_status 3
    check_pages_whole "$top" "$scratch/roomy/reference"
    check_source_kept "$top" "$scratch/source"
    # The list is the earlier one, whole, or a new one naming only pages that exist.
    if ! printf 'the list of an earlier run\r\n' | cmp -s - "$top/Finished/ListTitl.txt"; then
        for name in $(grep -ao 't[0-9]*\.htm' "$top/Finished/ListTitl.txt"); do
            [ -f "$top/conv/$name" ] || fail "$scenario: ListTitl.txt lists $name, which does not exist"
        done
    fi
    [ -e "$top/conv/t12.htm" ] || fail "$scenario: not even the first page was written; the disk is too small for the test"
    [ -e "$top/conv/t1.htm" ] && fail "$scenario: every page was written; the disk is too large for the test"
    check_reasons "ディスクの空き容量が不足しています。"
    ;;
shift-jis-folder)
    # What unzip makes of an old Windows archive: 変換/原稿.htm in Shift-JIS
    # bytes. The files the run writes anew take UTF-8 names, as always.
    top=$scratch/top
    conv=$top/$(cp932 '変換')
    mkdir -p "$conv"
    manuscript 100 100 >"$conv/$(cp932 '原稿').htm"
    cp "$conv/$(cp932 '原稿').htm" "$scratch/source"
    run "$top" --html-help "$(basename "$conv")/$(cp932 '原稿').htm"
    expect_status 0
    for name in t1.htm t2.htm 原稿.hhp "Table of Contents.hhc"; do
        [ -f "$conv/$name" ] || fail "$scenario: $name was not written beside the manuscript"
    done
    cmp -s "$scratch/source" "$top/Finished/原稿.htm" || fail "$scenario: the manuscript did not move whole"
    [ -f "$top/Finished/ListTitl.txt" ] || fail "$scenario: no ListTitl.txt"
    [ "$(ls "$top" | wc -l)" = 2 ] || fail "$scenario: a folder of another spelling was made: $(ls "$top")"
    ;;
links)
    # Links where the run writes and reads. A page's name held by a link to
    # the manuscript, and by one out of the folder; then a manuscript that is
    # itself a relative link to the file a topic's page would take.
    top=$scratch/top
    mkdir -p "$top/conv" "$top/elsewhere"
    manuscript 100 100 100 >"$top/conv/manual.htm"
    cp "$top/conv/manual.htm" "$scratch/source"
    echo "not the converter's" >"$top/elsewhere/victim.htm"
    ln -s manual.htm "$top/conv/t1.htm"
    ln -s ../elsewhere/victim.htm "$top/conv/t2.htm"
    run "$top" --hp-type conv/manual.htm
    expect_status 0
    cmp -s "$scratch/source" "$top/Finished/manual.htm" || fail "$scenario: the manuscript did not move whole"
    [ "$(cat "$top/elsewhere/victim.htm")" = "not the converter's" ] || fail "$scenario: written through a link out of the folder"
    [ -L "$top/conv/t2.htm" ] || fail "$scenario: the link out of the folder was replaced"
    for name in "t1(2).htm" "t2(2).htm" t3.htm; do
        [ -f "$top/conv/$name" ] || fail "$scenario: $name was not written"
    done

    top=$scratch/top2
    mkdir -p "$top/conv"
    manuscript 100 100 100 >"$top/conv/t3.htm"
    ln -s t3.htm "$top/conv/manual.htm"
    run "$top" --hp-type conv/manual.htm
    expect_status 0
    cmp -s "$scratch/source" "$top/conv/t3.htm" || fail "$scenario: the file the manuscript links to was written over"
    [ -L "$top/Finished/manual.htm" ] || fail "$scenario: the manuscript's link did not move into Finished"
    cmp -s "$scratch/source" "$top/Finished/manual.htm" || fail "$scenario: the moved link no longer leads to its file"
    [ -f "$top/conv/t3(2).htm" ] || fail "$scenario: the page of t3 was not written under a free name"
    ;;
*)
    echo "faults.sh: no scenario $scenario" >&2
    exit 2
    ;;
esac
[ "$failed" -eq 0 ] || exit 1
echo "$scenario: ok"
