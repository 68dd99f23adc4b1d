#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Zorvik need,
# skipping those already present. Needs root (or sudo) only when something is missing.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config git
      qt6-base-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
      clang libclang-rt-14-dev clang-format
      fonts-ipafont-gothic fonts-ipafont-mincho
      xvfb xauth poppler-utils
      dpkg-dev file appstream desktop-file-utils shared-mime-info
      qt6-charts-dev libqt6opengl6-dev libxlsxwriter-dev libminizip-dev python3-openpyxl
      ccache lintian)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
