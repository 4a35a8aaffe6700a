#!/usr/bin/env bash
# Installs every Debian package the project needs, when missing. Idempotent and quiet when all is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-private-dev libcups2-dev qt6-base-dev-tools libicu-dev qt6-svg-dev qt6-translations-l10n qt6-l10n-tools
  libgl-dev libglx-dev libegl-dev libvulkan-dev libxkbcommon-dev
  fonts-dejavu-core fonts-liberation
  xvfb xauth x11-utils imagemagick
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
  libreoffice-writer-nogui unrtf
  chromium
  time
  desktop-file-utils appstream lintian man-db groff-base dpkg-dev fakeroot file bash-completion librsvg2-bin
  libhunspell-dev hunspell-da
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
