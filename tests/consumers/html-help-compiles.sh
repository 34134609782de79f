#!/usr/bin/env bash
# The HTML Help projects Zavio writes compile with chmcmd, the compiled help
# holds every page of the project, the contents file reads as a sitemap, and
# so does the keyword index where there is one: it is compiled into the help
# and every entry of it names a page there.
# Usage: html-help-compiles.sh ZAVIO_CONVERT SOURCE_ROOT
convert=$1
root=$2
source "$(dirname "$0")/common.sh"
command -v chmcmd >/dev/null || { echo "skipped: chmcmd is missing (Debian package fp-utils)"; exit 77; }

# Every OBJECT closed before the next opens, every param inside one with a
# value quoted on both sides, lists balanced and never closed before opened.
check_sitemap() {
    local hhc=$1 fewest=${2:-2}
    awk -v fewest="$fewest" '
        { line = $0 }
        /<OBJECT/ { if (inObject) { print "nested OBJECT at line " NR; bad = 1 } inObject = 1; objects++ }
        /<param / {
            if (!inObject) { print "param outside OBJECT at line " NR; bad = 1 }
            if (line !~ /<param name="[^"]*" value="[^"]*">/) { print "badly quoted param at line " NR; bad = 1 }
        }
        /<\/OBJECT>/ { if (!inObject) { print "stray </OBJECT> at line " NR; bad = 1 } inObject = 0 }
        /<UL>/ { depth++ }
        /<\/UL>/ { depth--; if (depth < 0) { print "</UL> without <UL> at line " NR; bad = 1; depth = 0 } }
        END {
            if (inObject) { print "OBJECT left open"; bad = 1 }
            if (depth != 0) { print depth " lists left open"; bad = 1 }
            if (objects < fewest) { print "no sitemap entries"; bad = 1 }
            exit bad
        }' "$hhc" || fail "$hhc is not a well-formed sitemap"
}

# Compiles the project in FOLDER and checks the result.
check_project() {
    local folder=$1 need_every_local=$2
    local hhp
    hhp=$(ls "$folder"/*.hhp 2>/dev/null | grep -v -- '-Back\.hhp$' | head -n 1 || true)
    [ -n "$hhp" ] || { fail "no project file in $folder"; return; }
    local name
    name=$(basename "$hhp" .hhp)
    check_sitemap "$folder/Table of Contents.hhc"
    (cd "$folder" && chmcmd "$name.hhp" >"$folder/chmcmd.log" 2>&1) || { fail "chmcmd failed on $hhp"; cat "$folder/chmcmd.log" >&2; return; }
    [ -s "$folder/$name.chm" ] || { fail "chmcmd wrote no $name.chm"; return; }

    local listing
    listing=$(chmls -n list "$folder/$name.chm" 2>/dev/null)
    local page pages=0
    while IFS= read -r page; do
        page=${page%$'\r'}
        [ -n "$page" ] || continue
        pages=$((pages + 1))
        grep -qxF "/$page" <<<"$listing" || fail "$name.chm lacks the page $page"
    done < <(utf8_of "$hhp" | sed -n '/^\[FILES\]/,/^$/p' | sed '1d')
    [ "$pages" -gt 0 ] || fail "$hhp lists no pages"
    grep -qxF "/Table of Contents.hhc" <<<"$listing" || fail "$name.chm lacks its contents file"

    # chmcmd's own sitemap reader must see every entry that links somewhere.
    chmls extracttoc "$folder/$name.chm" "$scratch/toc.hhc" >/dev/null 2>&1 || { fail "chmls cannot read the contents of $name.chm"; return; }
    local local_page
    while IFS= read -r local_page; do
        grep -qF "value=\"$local_page\"" "$scratch/toc.hhc" || fail "the compiled contents lost the entry $local_page"
        if [ "$need_every_local" = yes ]; then
            grep -qxF "/$local_page" <<<"$listing" || fail "the contents entry $local_page is not a page of $name.chm"
        fi
    done < <(utf8_of "$folder/Table of Contents.hhc" | grep -o '<param name="Local" value="[^"]*"' | sed 's/.*value="//; s/"$//')
    local indexed=0
    if utf8_of "$hhp" | grep -qxF 'Index file=Index.hhk'; then
        check_sitemap "$folder/Index.hhk" 1
        grep -qxF "/Index.hhk" <<<"$listing" || fail "$name.chm lacks its index file"
        grep -qxF '/$WWKeywordLinks/BTree' <<<"$listing" || fail "$name.chm has no compiled index"
        chmls extractindex "$folder/$name.chm" "$scratch/index.hhk" >/dev/null 2>&1 || { fail "chmls cannot read the index of $name.chm"; return; }
        while IFS= read -r local_page; do
            indexed=$((indexed + 1))
            grep -qxF "/$local_page" <<<"$listing" || fail "the index entry $local_page is not a page of $name.chm"
            grep -qF "value=\"$local_page\"" "$scratch/index.hhk" || fail "the compiled index lost the entry $local_page"
        done < <(utf8_of "$folder/Index.hhk" | grep -o '<param name="Local" value="[^"]*"' | sed 's/.*value="//; s/"$//')
        [ "$indexed" -gt 0 ] || fail "$folder/Index.hhk names no page"
    elif [ -f "$folder/Index.hhk" ]; then
        fail "$hhp does not name the index $folder/Index.hhk"
    fi
    echo "ok: $hhp compiled, $pages pages, $indexed index links"
}

# The sample's topics carry keywords: its help has an index.
sample_has_index() {
    [ -f "$1/Index.hhk" ] || fail "the sample's HTML Help project has no index"
    echo "$1"
}

check_project "$(sample_has_index "$(run_sample html-help yes)")" yes
check_project "$(sample_has_index "$(run_sample html-help no)")" yes
while IFS= read -r folder; do
    check_project "$folder" no
done < <(run_golden_cases html-help)

finish
