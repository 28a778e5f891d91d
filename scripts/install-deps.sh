#!/usr/bin/env bash
# Installs the Debian 12 packages Vellinor needs to build, run and test.
# Idempotent and non-interactive: only missing packages are installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev libxkbcommon-dev
  libbz2-dev nettle-dev zlib1g-dev libmuparser-dev
  libxcb1-dev libxcb-keysyms1-dev
  libhunspell-dev hunspell-ru hunspell-en-us
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  fonts-dejavu-core
  qt6-translations-l10n
)
# Screenshots and a real window for manual checks.
[ "${VELLINOR_GUI_TOOLS:-0}" = 1 ] && packages+=(xvfb xauth x11-utils imagemagick)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
