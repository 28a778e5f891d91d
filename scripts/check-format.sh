#!/usr/bin/env bash
# Fails when a C/C++ source differs from what clang-format makes of it.
# With a git revision, checks only the files changed since it (and not yet
# committed); without one, every tracked source.
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
if [ $# -gt 0 ]; then
  mapfile -t files < <( { git diff --name-only --diff-filter=ACMR "$1" -- '*.cpp' '*.h' '*.c';
                          git diff --name-only --diff-filter=ACMR -- '*.cpp' '*.h' '*.c'; } | sort -u)
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
fi
[ ${#files[@]} -eq 0 ] && exit 0
existing=()
for f in "${files[@]}"; do [ -f "$f" ] && existing+=("$f"); done
[ ${#existing[@]} -eq 0 ] && exit 0
# One run over all files; its diagnostics name the files that differ.
mapfile -t bad < <(printf '%s\0' "${existing[@]}" |
  xargs -0 "$CLANG_FORMAT" --dry-run 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: .*/\1/p' | sort -u)
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted (run: $CLANG_FORMAT -i FILE):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "clang-format: ${#files[@]} files checked"
