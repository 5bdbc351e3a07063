#!/usr/bin/env bash
# Runs every libFuzzer target in BINDIR for SECONDS each, from its corpus folder if it has one.
set -euo pipefail
bindir=$1; seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
shopt -s nullglob
for target in "$bindir"/fuzz_*; do
  name=$(basename "$target")
  work=$(mktemp -d); corpus=("$work")
  [ -d "$here/corpus/$name" ] && corpus+=("$here/corpus/$name")
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=1 "${corpus[@]}" 2>&1 | tail -n 12
  rc=${PIPESTATUS[0]}
  rm -rf "$work"
  [ "$rc" -eq 0 ] || { echo "fuzz: $name failed"; exit "$rc"; }
done
