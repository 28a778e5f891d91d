#!/usr/bin/env bash
# Installs what is missing, builds and starts Vellinor. Arguments are passed
# on (notebook files, "/MIN"). A first start without a last session opens a
# welcome notebook made here with vlr.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

config_dir="${XDG_CONFIG_HOME:-$HOME/.config}/Orvanta/Vellinor"
last_session() {
  local ini
  for ini in build/bin/vellinor.ini "$config_dir/vellinor.ini"; do
    [ -f "$ini" ] && grep -aqiE '^[[:space:]]*NumberOfLastUsed[[:space:]]*=[[:space:]]*[1-9]' "$ini" && return 0
  done
  return 1
}
if [ $# -eq 0 ] && ! last_session; then
  welcome_dir="${XDG_DATA_HOME:-$HOME/.local/share}/Orvanta/Vellinor"
  welcome="$welcome_dir/Добро пожаловать.vlr"
  if [ ! -f "$welcome" ]; then
    mkdir -p "$welcome_dir"
    bash scripts/welcome-notebook.sh build/bin/vlr "$welcome"
  fi
  set -- "$welcome"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Vellinor needs a graphical session (no DISPLAY or WAYLAND_DISPLAY is set)." >&2
  exit 1
fi
exec build/bin/vellinor "$@"
