#!/usr/bin/env bash
# Sets up, builds and runs Zavio's main job: the sample manual (a Word
# manuscript and its WinHelp contents file) converted both ways with
# zavio-convert, and the HTML Help project compiled into a .chm with the
# keyword index made from the manuscript's "K" footnotes; then a small
# WinHelp project (.hpj, RTF, headers, .cnt) converted whole and compiled.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZAVIO_BUILD_DIR:-$root/build}
demo=${ZAVIO_DEMO_DIR:-$build/demo}

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Both programs, and the desktop program's help made from the sample.
cmake --build "$build" -j2 --target zavio-convert zavio zavio_help
convert="$build/src/cli/zavio-convert"

# A fresh conversion folder per kind: conversions move their sources away.
rm -rf "$demo"
for kind in hp-type html-help; do
    mkdir -p "$demo/$kind/conv"
    cp "$root/samples/manual.htm" "$root/samples/Zavio.cnt" "$demo/$kind/conv/"
done

run_conversion() {
    local kind=$1
    echo
    echo "== zavio-convert --$kind conv/manual.htm conv/Zavio.cnt"
    (cd "$demo/$kind" && "$convert" "--$kind" conv/manual.htm conv/Zavio.cnt \
        >"$demo/$kind/written.txt" 2>"$demo/$kind/messages.txt")
    echo "   messages shown: $demo/$kind/messages.txt"
    echo "   files written:  $(wc -l <"$demo/$kind/written.txt") (listed in $demo/$kind/written.txt)"
}

run_conversion hp-type
run_conversion html-help

echo
echo "== chmcmd Zavio.hhp"
(cd "$demo/html-help/conv" && chmcmd Zavio.hhp >"$demo/html-help/chmcmd.txt" 2>&1)
pages=$(chmls -n list "$demo/html-help/conv/Zavio.chm" 2>/dev/null | grep -c '\.htm$' || true)
index=$(chmls -n list "$demo/html-help/conv/Zavio.chm" 2>/dev/null | grep -c '^/Index\.hhk$' || true)
echo "   compiled: $demo/html-help/conv/Zavio.chm ($pages pages inside$([ "$index" -eq 1 ] && echo ', and the keyword index'))"

echo
echo "== the keyword index, from the manuscript's \"K\" footnotes"
keywords() { iconv -f CP932 -t UTF-8 "$1" | tr -d '\r' | grep -o "$2"; }
echo "   $(keywords "$demo/html-help/conv/Index.hhk" '<LI>' | wc -l) keywords in Index.hhk, the first ones:"
iconv -f CP932 -t UTF-8 "$demo/html-help/conv/Index.hhk" | tr -d '\r' | grep -A1 '<LI>' |
    sed -n 's/^\(\t*\)\t<param name="Name" value="\([^"]*\)">$/\1\2/p' | sed 's/\t/    /g; s/^/     /' | head -n 12

echo
echo "== zavio-convert --html-help help/App.hpj (a WinHelp project, its RTF and help ids)"
cp -r "$root/samples/winhelp" "$demo/project"
(cd "$demo/project" && "$convert" --html-help help/App.hpj >"$demo/project/written.txt" 2>"$demo/project/messages.txt")
(cd "$demo/project/help/App-html" && chmcmd App.hhp >"$demo/project/chmcmd.txt" 2>&1)
pages=$(chmls -n list "$demo/project/help/App-html/App.chm" 2>/dev/null | grep -c '\.htm$' || true)
echo "   compiled: $demo/project/help/App-html/App.chm ($pages pages inside)"
echo "   the application's help ids, kept in App.hhp:"
tr -d '\r' <"$demo/project/help/App-html/App.hhp" | sed -n '/^\[MAP\]/,/^$/p' | sed 's/^/     /'

echo
echo "Where everything is:"
echo "  homepage-type help:  $demo/hp-type/conv/Zavio.htm (contents page) and the HID_*.htm pages beside it"
echo "  its sources, list and note: $demo/hp-type/Finished/"
echo "  HTML Help project:   $demo/html-help/conv/Zavio.hhp, $demo/html-help/conv/Table of Contents.hhc"
echo "  compiled HTML Help:  $demo/html-help/conv/Zavio.chm"
echo "  its sources, list and note: $demo/html-help/Finished/"
echo "  keyword index:       $demo/html-help/conv/Index.hhk (compiled into Zavio.chm),"
echo "                       $demo/hp-type/conv/Index.htm (the index page of homepage-type help)"
echo "  the WinHelp project: $demo/project/help/ (unchanged), converted into $demo/project/help/App-html/"
echo
echo "Open $demo/hp-type/conv/Zavio.htm in a browser to read the converted manual."
