#!/usr/bin/env bash
# Installs what is missing, builds velmora and starts it in run/ (ignored by git) on the bundled sample
# data. The first run seeds run/ from sample/; later runs keep the files there (the settings file
# velmora.INI, point files and edited data live only in run/).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja
cmake --build "$root/build" -j2 --target velmora

mkdir -p "$root/run"
for f in "$root"/sample/*.CSV; do
    target="$root/run/$(basename "$f")"
    [ -e "$target" ] || cp "$f" "$target"
done
cd "$root/run"
exec "$root/build/gui/velmora" "$@"
