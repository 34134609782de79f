#!/usr/bin/env bash
# Every link of homepage-type help that points at a page of the conversion
# leads to a file that exists: the contents page's entries, each page's link
# back to the contents page, the jumps between pages and the index page's
# keywords.
# Usage: hp-type-links-resolve.sh ZAVIO_CONVERT SOURCE_ROOT
convert=$1
root=$2
source "$(dirname "$0")/common.sh"

# Checks the .htm files in FOLDER; prints how many links were followed.
check_links() {
    local folder=$1 page target followed=0
    for page in "$folder"/*.htm; do
        [ -f "$page" ] || continue
        while IFS= read -r target; do
            case "$target" in
                '#'* | *:*) continue ;;  # in-page anchors and other sites
            esac
            target=${target%%#*}
            case "$target" in *.htm | *.html) ;; *) continue ;; esac
            followed=$((followed + 1))
            [ -f "$folder/$target" ] || fail "$(basename "$page") links to $target, which is missing"
        done < <(utf8_of "$page" | grep -o 'href="[^"]*"' | sed 's/^href="//; s/"$//')
    done
    echo "$followed"
}

for with_cnt in yes no; do
    folder=$(run_sample hp-type "$with_cnt")
    contents=$([ "$with_cnt" = yes ] && echo Zavio.htm || echo Contents.htm)
    [ -f "$folder/$contents" ] || fail "the contents page $contents was not written"
    [ -f "$folder/Index.htm" ] || fail "the sample's index page Index.htm was not written"
    followed=$(check_links "$folder")
    # 22 contents entries, 22 links back to the contents page, and the jumps.
    [ "$followed" -ge 60 ] || fail "only $followed links followed in the sample (with contents file: $with_cnt)"
    echo "ok: sample (with contents file: $with_cnt), $followed links resolve"
done
while IFS= read -r folder; do
    followed=$(check_links "$folder")
    echo "ok: $folder, $followed links resolve"
done < <(run_golden_cases hp-type)

finish
