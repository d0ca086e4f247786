#!/usr/bin/env bash
# Installs what is missing, builds, and starts the configurator with the simulated mouse.
# Extra arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIVRA_TESTS=OFF
cmake --build "$root/build/release"
mem="${XDG_STATE_HOME:-$HOME/.local/state}/nivra/simulated-mouse.bin"
mkdir -p "$(dirname "$mem")"
if [ -x "$root/build/release/app/nivra-configurator" ]; then
  exec "$root/build/release/app/nivra-configurator" --simulate="$mem" "$@"
fi
exec "$root/build/release/tools/nivractl/nivractl" "${@:-help}"
