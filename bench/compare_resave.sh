#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Resaves the same structures with two builds of `struktur` and compares every byte: the files each
# leaves, what `show` prints of them and the exit codes. For a change to the structure reader or
# writer: build the tool before and after it, then
#   bench/compare_resave.sh OLD/struktur NEW/struktur build/bench/bench_structure
# Generated 1M-element structures (nested and flat) and a set of odd files: byte-order marks,
# CR/LF/CRLF mixes, NUL, deep levels, bytes 0x80-0x9F, read errors. Not part of the tests: slow.
set -eu
old=$1
new=$2
generator=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cases=$work/cases
mkdir -p "$cases"
add() { # NAME STRUCTURE-BYTES DATA-BYTES (printf formats)
    mkdir -p "$cases/$1"
    printf "$2" >"$cases/$1/struktur.txt"
    printf "$3" >"$cases/$1/data.txt"
}
"$generator" --write "$(mkdir -p "$cases/nested-1m" && echo "$cases/nested-1m")" 1000000 nested
"$generator" --write "$(mkdir -p "$cases/flat-1m" && echo "$cases/flat-1m")" 1000000 flat
add crlf 'A\r\n\tB\r\n\t\tC\r\nD\r\n' '0a\r\n1b\r\n2c\r\n3d\r\n'
add mixed-ends 'A\r\tB\nC\r\n\tD\n\r\tE' '0a\n1b\r2c\r\n3d\n\r4e'
add two-final-breaks 'A\r\n\tB\r\n\r\n' '1a\r\n2b\r\n3c\r\n'
add no-final-break 'A\r\n\tB' '1a\r\n2b'
add nul-ends-text 'A\r\n\tB\r\nC\000D\r\nE\r\n' '1a\r\n2b\r\n3c\000\r\n'
add nul-first '\000A\r\n' '1a\r\n'
add spaces-as-levels 'A\r\n B\r\n \t C\r\n\t D\r\n' '1a\r\n2b\r\n3c\r\n4d\r\n'
add blank-lines '\r\n\t\r\n\t\t\r\n  \r\n' '\r\n\r\n0\r\n9\r\n'
add trailing-blanks 'A \t\r\n\tB  \r\n' '1a \r\n2b\t\r\n'
add cp1252-high '\200\201\202\203\204\205\206\207\210\211\212\213\214\215\216\217\r\n\t\220\221\222\223\224\225\226\227\230\231\232\233\234\235\236\237\r\n\t\t\306ble \370l \345\377\r\n' '0\200\r\n1\237\r\n2\377\r\n'
add utf8-mark '\357\273\277\303\206ble\r\n\t\316\251mega\r\n' '\357\273\277''1\316\251\r\n2x\r\n'
add utf8-mark-cp1252-only '\357\273\277\303\206ble\r\n\t\303\270l\r\n' '\357\273\277''1\303\245\r\n2x\r\n'
add utf8-invalid '\357\273\277A\377\376B\r\n\t\300\200C\r\n' '\357\273\277''1\355\240\200\r\n2\r\n'
add utf16le '\377\376A\000\r\000\n\000\t\000B\000\251\003\n\000' '\377\376''1\000a\000\r\000\n\0002\000\r\000'
add utf16be '\376\377\000A\000\r\000\n\000\t\000B\003\251' '\376\377\0001\000a\000\n\0002\000b'
add utf16-odd-length '\377\376A\000\n\000B' '1\r\n2\r\n'
add utf16-nul '\377\376A\000\n\000\000\000B\000' '1\r\n'
add second-mark '\357\273\277\357\273\277A\r\n' '1\r\n'
add first-text-like-mark '\303\257\302\273\302\277x\r\n' '0\r\n'
add latin1-mark-lookalike '\357\273A\r\n' '0\r\n'
add invalid-level 'A\r\n\t\tB\r\nC\r\n' '1a\r\n2b\r\n3c\r\n'
add too-few-data 'A\r\n\tB\r\nC\r\n' '1a\r\n2b\r\n'
add not-a-digit 'A\r\n\tB\r\nC\r\n' '1a\r\nx3abc\r\n2c\r\n'
add empty '' ''
add only-breaks '\r\n\n\r' '0\r\n0\r\n0\r\n'
mkdir -p "$cases/deep-100k"
awk 'BEGIN { for (i = 0; i < 100000; ++i) { for (j = 0; j < i % 3000; ++j) printf "\t"; printf "E%d\r\n", i } }' >"$cases/deep-100k/struktur.txt"
awk 'BEGIN { for (i = 0; i < 100000; ++i) printf "%ddok%d\r\n", i % 10, i }' >"$cases/deep-100k/data.txt"

failures=0
for case in "$cases"/*; do
    name=$(basename "$case")
    for which in old new; do
        eval tool=\$$which
        mkdir -p "$work/$which/$name"
        cp "$case/struktur.txt" "$case/data.txt" "$work/$which/$name/"
        set +e
        "$tool" show "$work/$which/$name/struktur.txt" "$work/$which/$name/data.txt" >"$work/$which/$name/show.out" 2>&1
        echo "show $?" >"$work/$which/$name/status"
        "$tool" resave "$work/$which/$name/struktur.txt" "$work/$which/$name/data.txt" >"$work/$which/$name/resave.out" 2>&1
        echo "resave $?" >>"$work/$which/$name/status"
        set -e
    done
    if diff -r "$work/old/$name" "$work/new/$name" >/dev/null; then
        echo "same      $name"
    else
        echo "DIFFERENT $name"
        diff -r "$work/old/$name" "$work/new/$name" | head -5 || true
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "all cases byte-identical" || { echo "$failures cases differ"; exit 1; }
