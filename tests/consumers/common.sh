# Shared by the consumer checks: runs conversions in scratch folders and
# reads what they wrote. Sourced, not run.
set -euo pipefail
export LC_ALL=C

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Failures are counted in a file, so that checks running inside $(...)
# subshells are counted too.
fail() {
    echo "FAIL: $*" >&2
    echo "$*" >>"$scratch/failures"
}

# Ends the check: status 1 when anything failed.
finish() {
    local failures=0
    [ -f "$scratch/failures" ] && failures=$(wc -l <"$scratch/failures")
    [ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
}

# run_sample KIND WITH_CNT -> prints the conversion folder. The sample is
# converted in a folder of its own, as a user would.
run_sample() {
    local kind=$1 with_cnt=$2
    local top="$scratch/sample-$kind-$with_cnt"
    mkdir -p "$top/conv"
    cp "$root/samples/manual.htm" "$top/conv/"
    local files=(conv/manual.htm)
    if [ "$with_cnt" = yes ]; then
        cp "$root/samples/Zavio.cnt" "$top/conv/"
        files+=(conv/Zavio.cnt)
    fi
    (cd "$top" && "$convert" "--$kind" "${files[@]}" >/dev/null 2>&1) || fail "zavio-convert --$kind on the sample ended early"
    echo "$top/conv"
}

# run_golden_cases KIND: for every end-to-end case of that kind, prints the
# folders where it wrote its project or contents page.
run_golden_cases() {
    local kind=$1 case_dir
    for case_dir in "$root"/tests/data/e2e/*/; do
        [ -f "$case_dir/args" ] || continue
        local options
        options=$(head -n 1 "$case_dir/args")
        case " $options " in *" --$kind "*) ;; *) continue ;; esac
        local top="$scratch/case-$(basename "$case_dir")"
        mkdir -p "$top"
        [ -d "$case_dir/input" ] && cp -R "$case_dir/input/." "$top/"
        local inputs=()
        mapfile -t inputs < <(tail -n +2 "$case_dir/args" | sed '/^$/d')
        # Sources spread over several folders make no one self-contained
        # help: their pages link into each other's folders by design.
        [ "$(printf '%s\n' "${inputs[@]}" | xargs -d '\n' -n1 dirname | sort -u | wc -l)" -eq 1 ] || continue
        # shellcheck disable=SC2086
        (cd "$top" && "$convert" $options "${inputs[@]}" >"$top.written" 2>/dev/null) || continue
        local first="${inputs[0]}"
        # A project writes everything into a folder of its own, where its
        # list of pages is.
        case "${first,,}" in
            *.hpj) dirname "$(grep -m1 '/ListTitl\.txt$' "$top.written")" ;;
            *) echo "$top/$(dirname "$first")" ;;
        esac
    done
}

# The text of a CP932 file in UTF-8, so that it reads like the names on disk.
utf8_of() { iconv -c -f CP932 -t UTF-8 "$1" | tr -d '\r'; }
