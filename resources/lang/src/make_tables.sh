#!/usr/bin/env bash
# Writes the shipped language tables ../LANGn.txt (UTF-16LE with the byte-order mark FF FE)
# from the editable UTF-8 sources next to this script. Run it after editing a source; the
# skin tests check that shipped tables and sources agree.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for src in "$here"/LANG*.txt; do
  out="$here/../$(basename "$src")"
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$src"; } > "$out.tmp"
  mv "$out.tmp" "$out"
done
