#!/usr/bin/env bash
# Runs every benchmark program in BINDIR and prints its figures.
set -euo pipefail
bindir=$1
shopt -s nullglob
for b in "$bindir"/bench_*; do
  echo "== $(basename "$b")"
  "$b"
done
