#!/usr/bin/env bash
# Whole-process RTF throughput, timed from outside as a user meets it: `struktur rtf2txt`,
# `rtf2html`, `rtfresave` and `unrtf --text` (the peer) on the generated 10 MB rich-edit-style
# document of bench_rtf, each RUNS times in turn with /usr/bin/time; prints the median CPU
# (user + system) and wall seconds, MB/s of the input, and the ratio to unrtf. Then rtf2html of
# one and five million empty paragraphs, once each: time and peak memory should grow linearly.
#
#   bench/cli-rtf.sh BUILD [RUNS]       # BUILD: a benchmark build (-DSTRUKTUR_BENCH=ON)
#
# /usr/bin/time gives CPU seconds to 10 ms only: at about 0.06 s for rtf2txt, take more runs.
set -euo pipefail
build=$(realpath "$1")
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sample=$work/bench-10mb.rtf
"$build/bench/bench_rtf" --write-sample "$sample" 2>/dev/null
bytes=$(stat -c %s "$sample")
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen

# One run: "cpu wall" in seconds.
timed() {
  /usr/bin/time -f '%U %S %e' -o "$work/time" "$@" >/dev/null 2>&1
  awk '{ printf "%.3f %.3f\n", $1 + $2, $3 }' "$work/time"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A cpu wall
commands=(rtf2txt rtf2html rtfresave unrtf)
for ((i = 0; i < runs; ++i)); do
  for c in "${commands[@]}"; do
    case $c in
    rtf2txt) read -r t w < <(timed "$build/src/cli/struktur" rtf2txt "$sample") ;;
    rtf2html) read -r t w < <(timed "$build/src/cli/struktur" rtf2html "$sample") ;;
    rtfresave) read -r t w < <(timed "$build/src/cli/struktur" rtfresave "$sample" "$work/out.rtf") ;;
    unrtf) command -v unrtf >/dev/null || continue
      read -r t w < <(timed unrtf --text "$sample") ;;
    esac
    cpu[$c]+="$t "
    wall[$c]+="$w "
  done
done

echo "$(uptime)"
printf '%-10s %10s %10s %12s %12s %10s\n' command "cpu s" "wall s" "MB/s (cpu)" "MB/s (wall)" "unrtf/cpu"
peer=$(echo "${cpu[unrtf]:-}" | tr ' ' '\n' | grep . | median || true)
for c in "${commands[@]}"; do
  [ -n "${cpu[$c]:-}" ] || continue
  t=$(echo "${cpu[$c]}" | tr ' ' '\n' | grep . | median)
  w=$(echo "${wall[$c]}" | tr ' ' '\n' | grep . | median)
  awk -v c="$c" -v t="$t" -v w="$w" -v b="$bytes" -v p="${peer:-0}" 'BEGIN {
    printf "%-10s %10.3f %10.3f %12.1f %12.1f %10s\n", c, t, w, b / 1e6 / t, b / 1e6 / w,
      (p > 0 ? sprintf("%.1fx", p / t) : "-") }'
done

# rtf2html streams: a million empty paragraphs and five million, "wall s, user s, peak KB".
for n in 1000000 5000000; do
  awk -v n="$n" 'BEGIN { printf "{\\rtf1\\ansi "; for (i = 0; i < n; ++i) print "\\par"; printf "}" }' >"$work/empty.rtf"
  /usr/bin/time -f '%e s %U user %M KB' -o "$work/time" "$build/src/cli/struktur" rtf2html "$work/empty.rtf" >/dev/null
  echo "rtf2html, $n empty paragraphs ($(stat -c %s "$work/empty.rtf") bytes): $(cat "$work/time")"
done
