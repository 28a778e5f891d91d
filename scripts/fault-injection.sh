#!/usr/bin/env bash
# Cuts every saving operation of the storage engine short at every call that
# changes a file (crash, ENOSPC, EIO, power cut), in all four encodings.
# CI runs a sample of these positions; this runs them all.
#   scripts/fault-injection.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake -S . -B "$build" -G Ninja >/dev/null
fi
cmake --build "$build" --target storage_fault_tests
export QT_QPA_PLATFORM=offscreen
VLR_FAULTS=full "$build/tests/storage_fault_tests"
