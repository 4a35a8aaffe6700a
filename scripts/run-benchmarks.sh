#!/usr/bin/env bash
# Runs every benchmark program of a benchmark build; each prints its figures with the budget.
set -euo pipefail
build=$1
for b in "$build"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
