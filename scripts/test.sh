#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
# Warnings fail the test build.
bash scripts/build.sh -DVELLINOR_WERROR=ON
# Widget tests run without a display; Qt wants a private runtime folder.
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
