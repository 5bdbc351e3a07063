#!/usr/bin/env bash
# The headless decoders from outside: recorded bytes in, JSON lines out; bad arguments and
# unreadable input give one line on standard error and a non-zero exit.
set -uo pipefail
bindir=$1; cases=$(cd "$(dirname "$0")/decode" && pwd)
status=0
complain() { echo "decode tool: $*"; status=1; }

for cmd in "$cases"/*.cmd; do
  name=${cmd%.cmd}
  read -r build args < "$cmd"
  # shellcheck disable=SC2086
  if ! actual=$("$bindir/kx52b-$build-decode" $args "$name.hex"); then
    complain "$(basename "$name"): non-zero exit"
  elif ! diff -u "$name.out" <(printf '%s\n' "$actual"); then
    complain "$(basename "$name"): output differs"
  fi
done

# Raw bytes from standard input decode as the same bytes given in hex.
# shellcheck disable=SC2046
raw=$(printf "$(printf '\\x%s' $(cat "$cases/segment-4k.hex"))" | "$bindir/kx52b-4k-decode")
[ "$raw" = "$(cat "$cases/segment-4k.out")" ] || complain "raw standard input differs from --hex"

# A stream still open is decoded as its bytes arrive, not only at its end.
work=$(mktemp -d); mkfifo "$work/in"
"$bindir/kx52b-4k-decode" --hex < "$work/in" > "$work/out" & decoder=$!
exec 3> "$work/in"
cat "$cases/segment-4k.hex" >&3
for _ in $(seq 100); do [ "$(wc -l < "$work/out")" -ge 4 ] && break; sleep 0.05; done
diff -q "$cases/segment-4k.out" "$work/out" > /dev/null || complain "an open stream is not decoded as it arrives"
exec 3>&-
wait "$decoder" || complain "non-zero exit after an open stream"
rm -rf "$work"

expect_refusal() {
  local err
  err=$("$@" 2>&1 >/dev/null) && { complain "accepted: $*"; return; }
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] && [ -n "$err" ] || complain "not one line of error: $*"
}
expect_refusal "$bindir/kx52b-4k-decode" --flags IFKX38D,IFNOPE /dev/null
expect_refusal "$bindir/kx52b-4k-decode" --flags IF6270x /dev/null
expect_refusal "$bindir/kx52b-4k-decode" --setmax 5- /dev/null
expect_refusal "$bindir/kx52b-4k-decode" --setmin
expect_refusal "$bindir/kx52b-4k-decode" --bogus /dev/null
expect_refusal "$bindir/kx52b-40k-decode" /no/such/file
expect_refusal "$bindir/kx52b-40k-decode" --hex "$cases/segment-4k.cmd"
exit $status
