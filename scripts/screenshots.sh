#!/usr/bin/env bash
# Regenerates the README's screenshots in docs/screenshots/: the main pages of the window in
# English with the simulated mouse, taken by the screenshot tour (tests/ui/tour/tour.sh) on a
# headless X screen with a window manager, each cropped to the window and its frame.
#   scripts/screenshots.sh [BUILD_DIR]      (default build/dev; configured when missing)
# X_SESSION_DISPLAY=:N puts the X screen on display N instead of the first free one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
bash "$root/scripts/deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}"
fi
cmake --build "$build" --target ui_tour

# tour page -> README picture
declare -A names=([office]=office [adv]=advanced [light]=light [macro]=macro)
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
TOUR_LANGUAGES=3 TOUR_PAGES="${!names[*]}" NIVRA_TOUR_WINDOW_ONLY=1 \
  bash "$root/tests/ui/tour/tour.sh" "$build" "$shots" >/dev/null
mkdir -p "$root/docs/screenshots"
for page in "${!names[@]}"; do
  cp "$shots/L3_$page.png" "$root/docs/screenshots/${names[$page]}.png"
done
echo "screenshots.sh: wrote $(printf 'docs/screenshots/%s.png ' "${names[@]}")"
