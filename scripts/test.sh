#!/usr/bin/env bash
# Sets up, builds and runs every test. A test that cannot run here is
# skipped; the list at the end says why, from the test's own output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZAVIO_BUILD_DIR:-$root/build}

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
status=0
rm -f "$build/ctest-junit.xml"
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 --output-junit "$build/ctest-junit.xml" "$@" ||
    status=$?

# The reason is the line a script prints ("skipped: ..."), Qt Test's SKIP
# line, or the line after GoogleTest's "Skipped".
awk '
    function text(s) {
        gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s); gsub(/&quot;/, "\"", s); gsub(/&apos;/, "'\''", s)
        gsub(/&amp;/, "\\&", s); return s
    }
    /<testcase / { match($0, /name="[^"]*"/); name = text(substr($0, RSTART + 6, RLENGTH - 7)); skipped = 0; reason = ""; after = 0 }
    /<skipped / { skipped = 1 }
    skipped && reason == "" {
        if (after) reason = $0
        else if ($0 ~ /skipped: /) reason = substr($0, index($0, "skipped: ") + 9)
        else if ($0 ~ /^SKIP +: /) reason = $0
        after = $0 ~ /: Skipped$/
    }
    /<\/testcase>/ && skipped { printf "  %s: %s\n", name, reason == "" ? "(no reason given)" : text(reason); count++ }
' "$build/ctest-junit.xml" 2>/dev/null | { lines=$(cat); [ -z "$lines" ] || printf 'Skipped, and why:\n%s\n' "$lines"; } || true
exit $status
