#!/usr/bin/env bash
# Installs what Yawmark needs to build, test and run on Debian 12, as root.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libgif-dev
    qt6-charts-dev libqt6opengl6-dev qt6-svg-dev libdxflib-dev
    libgtest-dev libgmock-dev libbenchmark-dev libtbb-dev libceres-dev
    xvfb xauth xdotool openbox procps x11-utils imagemagick
    fonts-dejavu-core fonts-dejavu-extra fonts-urw-base35 fonts-liberation
    dpkg-dev file desktop-file-utils appstream
    help2man lintian
    python3 strace shared-mime-info poppler-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing, and installing them needs root: ${missing[*]}" >&2
    echo "setup: run this command again as root (or with sudo)." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
