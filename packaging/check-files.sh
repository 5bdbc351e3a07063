#!/usr/bin/env bash
# Checks an installation of kx52b under PREFIX. Standard input lists the files it installed, one
# path a line relative to PREFIX: they must be exactly those of installed-files.txt. The desktop
# files must validate and start a program and show an icon that are there, the icons must be
# well-formed SVG, and the man pages must format without a warning.
set -euo pipefail
prefix=${1:?usage: check-files.sh PREFIX < installed-paths}
here=$(dirname "$0")
fail() { echo "check-files: $*" >&2; exit 1; }

diff -u "$here/installed-files.txt" <(LC_ALL=C sort) \
    || fail "the installed files differ from installed-files.txt (-: missing, +: not expected)"

for desktop in "$prefix"/share/applications/kx52b-*.desktop; do
    report=$(desktop-file-validate "$desktop" 2>&1) || true
    [ -z "$report" ] || fail "$report"
    program=$(sed -n 's/^Exec=//p' "$desktop")
    [ -x "$prefix/bin/$program" ] || fail "$desktop starts $program, which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$desktop shows icon $icon, which is not installed"
done

xmllint --noout "$prefix"/share/icons/hicolor/scalable/apps/kx52b-*.svg || fail "an icon is not well-formed SVG"

for page in "$prefix"/share/man/man1/kx52b*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
done
