#!/usr/bin/env bash
# The screenshot tour: every page of the window in the three languages, the unplugged state,
# Qt's file and colour dialogs, and each small dialog with text typed, on a headless X
# screen with the openbox window manager. Writes OUT_DIR/L<language>_<page>.png.
#   tests/ui/tour/tour.sh [BUILD_DIR] [OUT_DIR]      (defaults: build/dev, /tmp/nivra-tour)
# TOUR_LANGUAGES ("3") and TOUR_PAGES ("office adv") take fewer shots; NIVRA_TOUR_WINDOW_ONLY=1
# makes each shot the window with its frame instead of the whole screen.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/dev}
out=${2:-/tmp/nivra-tour}
tour="$build/tests/ui/ui_tour"
[ -x "$tour" ] || { echo "tour.sh: build the target ui_tour first ($tour)" >&2; exit 1; }
mkdir -p "$out"
. "$here/x_session.sh"
x_session_start
pages=(office game adv light lightcpi macro update fire firegun6 firemacro fireinsert engineer unplugged nomouse denied
       restart confirm langmenu keymenu basemacro openfile colour form2 form3 form4 form5 form6 form7)
languages=(1 2 3)
[ -z "${TOUR_PAGES:-}" ] || read -ra pages <<<"$TOUR_PAGES"
[ -z "${TOUR_LANGUAGES:-}" ] || read -ra languages <<<"$TOUR_LANGUAGES"
failed=0
for lang in "${languages[@]}"; do
  for page in "${pages[@]}"; do
    if ! timeout 60 "$tour" "$lang" "$page" "$out/L${lang}_${page}.png" >/dev/null 2>"$out/L${lang}_${page}.log"; then
      echo "tour.sh: language $lang page $page failed (see $out/L${lang}_${page}.log)" >&2
      failed=1
    fi
  done
done
echo "tour.sh: screenshots in $out"
exit $failed
