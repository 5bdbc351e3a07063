#!/usr/bin/env bash
# Installs the Debian package that `make package` built in BUILD_DIR on this machine with apt-get,
# checks what it put where and what it depends on, starts the installed programs, and removes it
# again. Needs root or sudo. A kx52b package installed before is the user's: it is left alone and
# the test skipped.
set -euo pipefail
build=${1:?usage: test-package.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "test-package: $*" >&2; exit 1; }

debs=("$build"/kx52b_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one kx52b_*.deb in $build"
deb=$(realpath "${debs[0]}")
if dpkg-query -W -f='${Status}' kx52b 2>/dev/null | grep -q "install ok installed"; then
    echo "test-package: SKIPPED: a kx52b package is installed on this machine already"
    exit 0
fi

# Linked libraries come from dpkg-shlibdeps; what is loaded at run time is named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6charts6 libqt6printsupport6 libsqlite3-0 libudev1 fonts-liberation2; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "the package does not depend on $needed: $depends"
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
work=$(mktemp -d /tmp/kx52b-package-test.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y kx52b >"$work/remove.log" 2>&1 \
        || { cat "$work/remove.log" >&2; echo "test-package: the package could not be removed" >&2; }
    rm -rf "$work"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "$deb" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log" >&2; fail "apt-get install $deb failed"; }

dpkg -L kx52b | while read -r path; do [ -d "$path" ] || echo "${path#/usr/}"; done \
    | bash "$here/check-files.sh" /usr

# Each window program, started in a directory of its own, opens its log file there and keeps running.
programs=(kx52b-40k kx52b-4k)
for program in "${programs[@]}"; do
    mkdir "$work/$program"
    (cd "$work/$program" && QT_QPA_PLATFORM=offscreen XDG_STATE_HOME="$work/state" \
        exec "/usr/bin/$program" >"$work/$program.log" 2>&1) &
    pids+=($!)
done
sleep 3
for i in "${!programs[@]}"; do
    program=${programs[$i]}
    kill -0 "${pids[$i]}" 2>/dev/null || fail "$program ended at start: $(cat "$work/$program.log")"
    [ -f "$work/$program/Kx52bdb.db" ] || fail "$program did not create Kx52bdb.db in its working directory"
done
kill "${pids[@]}"
wait "${pids[@]}" || true
pids=()

# Each decoder reads three frames of the installed simulator through its pseudo-terminal. The
# simulator has more to send, so it is still there when the decoder has its third frame.
for pair in "40k five-digit" "4k segment"; do
    read -r build_name family <<<"$pair"
    coproc SIM { exec /usr/bin/kx52b-sim --family "$family" --fast --count 10; }
    sim_pid=$SIM_PID
    read -r pty <&"${SIM[0]}"
    frames=$(timeout 20 "/usr/bin/kx52b-$build_name-decode" --port "$pty" --frames 3 | grep -c '"DisplayText"' || true)
    wait "$sim_pid"
    [ "$frames" -eq 3 ] || fail "kx52b-$build_name-decode printed $frames of 3 frames from the simulator"
done
echo "test-package: $(basename "$deb") installs, its programs start, and it is removed again"
