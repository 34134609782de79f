#!/usr/bin/env bash
# Writes the seed corpora of the fuzzers into OUTDIR/{cp932,contents,
# conversion,rtf}, made from the end-to-end cases, the sample, the RTF test
# manuscripts and, when it is there, the shared corpus of real contents files
# and RTF manuscripts. Nothing here is committed.
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:?usage: make-seeds.sh OUTDIR}
mkdir -p "$out/cp932" "$out/contents" "$out/conversion" "$out/rtf"

e2e=$root/tests/data/e2e
cnts=("$root"/samples/*.cnt "$e2e"/*/input/*/*.cnt)
[ -d "$root/../shared/corpus/cnt" ] && cnts+=("$root"/../shared/corpus/cnt/*.cnt)

# The codec: every manuscript and contents file as it is.
n=0
while IFS= read -r -d '' file; do
  cp "$file" "$out/cp932/input-$((n += 1))"
done < <(find "$e2e" "$root/samples" -path '*/expected' -prune -o -type f \
           \( -name '*.htm' -o -name '*.html' -o -name '*.cnt' \) -print0)

# Contents files, once alone and once with pages made from their own topic
# entries: under the topic's name (an exact match) and under another name
# (the titles decide).
n=0
for cnt in "${cnts[@]}"; do
  n=$((n + 1))
  cp "$cnt" "$out/contents/alone-$n"
  pages() {
    awk -F= -v prefix="$1" '/=/ { name = $1; sub(/^[ \t]*[1-9][ \t]*/, "", name); topic = $2
                                 gsub(/[ \t\r]/, "", topic); print prefix topic "\t" name }' "$cnt"
  }
  { cat "$cnt"; printf '\n@@PAGES\n'; pages ""; } > "$out/contents/exact-$n"
  { cat "$cnt"; printf '\n@@PAGES\n'; pages "page_"; } > "$out/contents/titles-$n"
done

# Conversions: each end-to-end case with its options and files, in its order.
section() {  # relative path (UTF-8), file
  printf '\n@@FILE %s\n' "$(printf '%s' "$1" | iconv -f UTF-8 -t CP932)"
  cat "$2"
}
for case in "$e2e"/*/; do
  name=$(basename "$case")
  {
    head -n 1 "$case/args" | tr -d '\n'
    tail -n +2 "$case/args" | while IFS= read -r file; do
      if [ -f "$case/input/$file" ]; then section "$file" "$case/input/$file"; fi
    done
  } > "$out/conversion/$name"
done
for options in --hp-type --html-help; do
  { printf '%s' "$options"; section conv/manual.htm "$root/samples/manual.htm"
    section conv/Zavio.cnt "$root/samples/Zavio.cnt"; } > "$out/conversion/sample$options"
done
manuscript=$e2e/writers-hp-with-contents/input/conv/manual.htm
# A manuscript opened from a Finished folder, whose topic is named like the
# manuscript of another folder that moves in there; and the same converted a
# second time, where the first run's sources wait in Finished.
for options in --html-help "--hp-type --again"; do
  { printf '%s' "$options"; section a/Finished/m.htm <(sed 's/p_intro/z/' "$manuscript")
    section a/conv/z.htm <(sed 's/p_/q_/' "$manuscript"); } > "$out/conversion/finished-folder${options// /}"
done
n=0
for cnt in "${cnts[@]}"; do
  { printf '%s' --hp-type; section conv/manual.htm "$manuscript"; section conv/toc.cnt "$cnt"; } \
    > "$out/conversion/contents-$((n += 1))"
done
# Links where pages go: one to the manuscript, one out of the folder to bait;
# and sources and topics whose names differ in letter case alone.
{ printf '%s' --hp-type; section conv/manual.htm "$manuscript"
  printf '\n@@LINK conv/p_intro.htm=manual.htm\n@@LINK conv/p_use.htm=../bait/victim.htm'
  printf '\n@@BAIT victim.htm\nnot the converter'"'"'s'; } > "$out/conversion/links"
{ printf '%s' --html-help; section conv/manual.htm "$manuscript"
  section conv/MANUAL.htm <(sed 's/p_intro/MANUAL/; s/p_use/P_USE/' "$manuscript"); } > "$out/conversion/case-twins"
# The same sources made in the encodings editors save.
for encodings in "utf-8: utf-16be:" "utf-16le: utf-8:" "utf-16be: utf-16le:"; do
  read -r first second <<< "$encodings"
  { printf '%s' --html-help; section "${first}conv/manual.htm" "$manuscript"
    section "${second}conv/toc.cnt" "$e2e/writers-hp-with-contents/input/conv/toc.cnt"; } \
    > "$out/conversion/encodings-${first%:}-${second%:}"
done

# RTF manuscripts: small ones whole; of a large one, its start up to the
# last \page within the fuzzer's length, its open groups closed, as a
# manuscript cut short is refused.
closed_start() {  # file bytes
  head -c "$2" "$1" | awk 'BEGIN { RS = "\001" } {
    n = length($0); cut = 0; depth = 0; open = 0
    for (i = 1; i <= n; i++) {
      c = substr($0, i, 1)
      if (c == "\\") {
        if (substr($0, i + 1, 4) == "page" && substr($0, i + 5, 1) !~ /[a-z]/) { cut = i - 1; open = depth }
        i++
      } else if (c == "{") depth++
      else if (c == "}") depth--
    }
    if (cut == 0) exit 1
    printf "%s", substr($0, 1, cut)
    for (k = 0; k < open; k++) printf "}"
  }'
}
rtfs=("$root"/tests/data/rtf/*.rtf "$root"/tests/data/rtf/*.Rtf)
[ -d "$root/../shared/corpus/rtf-projects" ] && while IFS= read -r -d '' file; do rtfs+=("$file"); done \
  < <(find "$root/../shared/corpus/rtf" "$root/../shared/corpus/rtf-projects" -iname '*.rtf' -print0)
n=0
for file in "${rtfs[@]}"; do
  n=$((n + 1))
  if [ "$(wc -c < "$file")" -le 32768 ]; then
    cp "$file" "$out/rtf/rtf-$n"
  else
    closed_start "$file" 32000 > "$out/rtf/rtf-$n" || rm -f "$out/rtf/rtf-$n"
  fi
done
