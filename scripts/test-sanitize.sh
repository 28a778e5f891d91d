#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ and runs every test there. Slower than the normal test run,
# so not part of CI; run it before submitting changes to storage or parsing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=build-sanitize bash scripts/build.sh -DVELLINOR_SANITIZE=ON -DVELLINOR_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
here=$(pwd)
# Any report fails the test that caused it. Leaks inside system libraries the
# program cannot free (fonts, the display's connection) are suppressed by name.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/scripts/lsan.supp:print_suppressions=0}
cd build-sanitize
# Sanitized code runs several times slower: a longer timeout per test.
ctest --output-on-failure --parallel "$(nproc)" --timeout 1800 "$@"
