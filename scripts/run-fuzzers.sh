#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzzing build for a few seconds on its corpus.
set -euo pipefail
build=$1
seconds=${2:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
found=0
for target in "$build"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$root/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 "$work" 2>"$work.log" \
    || { tail -50 "$work.log"; exit 1; }
  rm -rf "$work" "$work.log"
  found=$((found + 1))
done
[ "$found" -gt 0 ] || { echo "fuzz: no fuzz targets were built" >&2; exit 1; }
