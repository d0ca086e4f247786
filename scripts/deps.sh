#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the screenshots and the Debian package
# need, when missing.
set -euo pipefail
pkgs=(g++ cmake ninja-build pkg-config git
      qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
      libhidapi-dev libgtest-dev libgmock-dev libbenchmark-dev umockdev libumockdev-dev
      libglib2.0-dev gsettings-desktop-schemas libx11-dev libxi-dev libpng-dev libfontconfig-dev
      fonts-noto-cjk fonts-dejavu-core fonts-dejavu-extra xvfb xauth
      qt6-translations-l10n openbox xdotool
      desktop-file-utils appstream libxml2-utils dpkg-dev file
      clang libclang-rt-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
