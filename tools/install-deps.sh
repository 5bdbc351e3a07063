#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds, tests and runs with. Safe to run again.
set -euo pipefail
packages=(
  cmake g++ make pkg-config python3
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev libgl-dev
  libsqlite3-dev libudev-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool imagemagick poppler-utils fonts-liberation2 fonts-dejavu-core
  dpkg-dev file desktop-file-utils libxml2-utils man-db
)
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
