#!/usr/bin/env bash
# `cmake --install` of the build in BUILD_DIR into a scratch prefix puts exactly the files of
# installed-files.txt there (no tests, benchmarks or helpers), and they pass check-files.sh.
set -euo pipefail
build=${1:?usage: test-install.sh BUILD_DIR}
prefix=$(mktemp -d /tmp/kx52b-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
(cd "$prefix" && find . ! -type d | sed 's|^\./||') | bash "$(dirname "$0")/check-files.sh" "$prefix"
