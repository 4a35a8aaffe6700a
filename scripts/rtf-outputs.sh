#!/usr/bin/env bash
# Records what `struktur rtf2txt`, `rtf2html` and `rtfresave` make of every RTF file of a folder
# (default ../shared/rtf-corpus), of the RTF fuzz corpus and of the generated 10 MB benchmark
# document, so that a change to the codec can be checked for unchanged output byte for byte:
#
#   scripts/rtf-outputs.sh OLD/struktur /tmp/before   # before the change
#   scripts/rtf-outputs.sh NEW/struktur /tmp/after    # after it
#   diff -r /tmp/before /tmp/after                    # must print nothing
#
# The benchmark document is written by bench_rtf --write-sample (BENCH_RTF, default beside
# struktur in a benchmark build); pass SAMPLE=FILE to use one already written.
set -euo pipefail
struktur=$(realpath "$1")
out=$2
here=$(cd "$(dirname "$0")/.." && pwd)
corpus=${CORPUS:-$here/../shared/rtf-corpus}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sample=${SAMPLE:-}
if [ -z "$sample" ]; then
  bench=${BENCH_RTF:-$(dirname "$struktur")/../../bench/bench_rtf}
  sample=$work/bench-10mb.rtf
  "$bench" --write-sample "$sample" 2>/dev/null
fi

files=("$sample")
for f in "$corpus"/*.rtf "$here"/fuzz/corpus/rtf/*; do
  [ -f "$f" ] && files+=("$f")
done

export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
for f in "${files[@]}"; do
  name=$(basename "$f")
  [ "$f" = "$sample" ] && name=bench-10mb.rtf
  for command in rtf2txt rtf2html; do
    status=0
    "$struktur" "$command" "$f" >"$out/$name.$command" 2>"$out/$name.$command.err" || status=$?
    echo "$status" >"$out/$name.$command.status"
  done
  status=0
  "$struktur" rtfresave "$f" "$work/resaved.rtf" 2>"$out/$name.rtfresave.err" || status=$?
  echo "$status" >"$out/$name.rtfresave.status"
  if [ -f "$work/resaved.rtf" ]; then mv "$work/resaved.rtf" "$out/$name.rtfresave"; fi
done
echo "${#files[@]} files recorded in $out"
