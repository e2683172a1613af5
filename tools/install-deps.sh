#!/usr/bin/env bash
# Installs the Debian 12 packages Velmora needs to build, test and run.
# Idempotent: only packages that are missing are installed.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-translations-l10n
    clang libclang-rt-14-dev clang-format
    fonts-ipafont-gothic
    xvfb xauth xdotool imagemagick openbox
    xdg-utils desktop-file-utils
    dpkg-dev fakeroot file appstream lintian man-db pngquant
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages present"
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
