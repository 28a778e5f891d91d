#!/usr/bin/env bash
# Configures and builds Vellinor into build/ (binaries in build/bin/).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja "$@" >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
