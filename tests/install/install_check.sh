#!/usr/bin/env bash
# install_check.sh BUILD_DIR APP_ID VERSION: installs BUILD_DIR with prefix /usr into a
# temporary DESTDIR and checks the installed tree: exactly the expected files, each where the
# desktop, udev and the software centre look for it; the desktop entry, the icon and the
# metainfo name each other; the validators pass; both programs report VERSION.
set -euo pipefail
build=$1 id=$2 version=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

sizes=(16 22 24 32 48 64 128 256 512)
expected=(
  usr/bin/nivra-configurator
  usr/bin/nivractl
  usr/lib/udev/rules.d/70-nivra-mouse.rules
  "usr/share/applications/$id.desktop"
  "usr/share/icons/hicolor/scalable/apps/$id.svg"
  "usr/share/metainfo/$id.metainfo.xml"
  usr/share/man/man1/nivractl.1
  usr/share/man/man1/nivra-configurator.1
  usr/share/bash-completion/completions/nivractl
  usr/share/zsh/site-functions/_nivractl
  usr/share/fish/vendor_completions.d/nivractl.fish
)
for s in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${s}x${s}/apps/$id.png"); done
# Nothing more and nothing less: a stray file (a library's headers, a test program) would end
# up in the package too.
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) ||
  fail "the installed files differ from the expected list (< expected, > installed)"

for p in nivra-configurator nivractl; do
  [ -x "$root/usr/bin/$p" ] || { fail "usr/bin/$p is not executable"; continue; }
  got=$("$root/usr/bin/$p" --version) || fail "$p --version failed"
  [ "$got" = "$p $version" ] || fail "$p --version printed '$got', not '$p $version'"
done

# udev applies uaccess in 73-seat-late.rules: the tag must be set by an earlier rule file.
rules="$root/usr/lib/udev/rules.d/70-nivra-mouse.rules"
grep -q '^KERNEL=="hidraw\*".*TAG+="uaccess"' "$rules" || fail "the udev rule does not tag the hidraw node uaccess"

desktop="$root/usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $id.desktop"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$root/usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no installed program"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "Icon= of the desktop entry is not $id"

# Each PNG holds the size its folder names (width and height in the IHDR chunk).
for s in "${sizes[@]}"; do
  png="$root/usr/share/icons/hicolor/${s}x${s}/apps/$id.png"
  [ -f "$png" ] || continue
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || { fail "$png is no PNG"; continue; }
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
  [ "$dims" = "${s}x${s}" ] || fail "${s}x${s}/apps/$id.png is $dims"
done
svg="$root/usr/share/icons/hicolor/scalable/apps/$id.svg"
xmllint --noout "$svg" || fail "the SVG icon is not well-formed XML"
grep -q '<svg xmlns="http://www.w3.org/2000/svg"' "$svg" || fail "the SVG icon has no svg root element"

metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli refused the metainfo"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo names no release $version"

# The manual pages render without a warning and name what the programs offer: every command
# of `nivractl help`, every option of `nivra-configurator --help`.
man1="$root/usr/share/man/man1"
if command -v groff >/dev/null; then
  for page in nivractl nivra-configurator; do
    warnings=$(groff -man -Tutf8 -ww -z "$man1/$page.1" 2>&1) || fail "groff failed on $page.1"
    [ -z "$warnings" ] || fail "groff warns on $page.1: $warnings"
  done
else
  echo "groff not found: the manual pages were not rendered"
fi
for cmd in $("$root/usr/bin/nivractl" help | sed -n 's/^  \([a-z-]*\).*/\1/p' | sort -u); do
  # The entry's first line (after .TP) starts with the command's name in bold.
  word="\fB${cmd//-/\\-}\fR" awk 'prev == ".TP" && index($0, ENVIRON["word"]) == 1 { found = 1 } { prev = $0 }
    END { exit !found }' "$man1/nivractl.1" || fail "nivractl.1 lists no command $cmd"
done
for opt in $("$root/usr/bin/nivra-configurator" --help | sed -n 's/^  \(--[a-z-]*\).*/\1/p'); do
  grep -qF -- "\fB${opt//-/\\-}" "$man1/nivra-configurator.1" || fail "nivra-configurator.1 lists no option $opt"
done

# The completion scripts parse in their shells (each shell that is installed), and bash's
# completes from the installed nivractl.
completions="$root/usr/share"
bash -n "$completions/bash-completion/completions/nivractl" || fail "the bash completion does not parse"
for shell in zsh fish; do
  script="$completions/zsh/site-functions/_nivractl"
  [ $shell = fish ] && script="$completions/fish/vendor_completions.d/nivractl.fish"
  if command -v $shell >/dev/null; then
    $shell -n "$script" || fail "the $shell completion does not parse"
  else
    echo "$shell not found: its completion was not parsed"
  fi
done
# (grep reads all its input here: grep -q would close the pipe early and, with pipefail, fail
# the check when the writer is still writing.)
offered() {  # offered WORD...: what the bash completion offers for the last word
  PATH="$root/usr/bin:$PATH" bash -c 'source "$1"; shift; COMP_WORDS=(nivractl "$@"); COMP_CWORD=$#
    _nivractl; printf "%s\n" "${COMPREPLY[@]}"' - "$completions/bash-completion/completions/nivractl" "$@"
}
[ "$(offered lo)" = load ] || fail "bash completes 'nivractl lo' to '$(offered lo)', not load"
offered set cpi "" | grep -x count >/dev/null || fail "bash does not offer count after 'nivractl set cpi'"
if command -v fish >/dev/null; then
  PATH="$root/usr/bin:$PATH" fish -c "source $completions/fish/vendor_completions.d/nivractl.fish
    complete -C'nivractl set rate '" | grep -x 500 >/dev/null || fail "fish does not offer 500 after 'nivractl set rate'"
fi
touch "$root/some-image.bin"
(cd "$root" && offered load some-im) | grep -x some-image.bin >/dev/null || fail "bash does not offer file names after load"

[ $failed -eq 0 ] && echo "install tree OK: ${#expected[@]} files"
exit $failed
