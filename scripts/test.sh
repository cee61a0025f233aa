#!/usr/bin/env bash
# Installs the packages, then builds and runs the whole suite in the release preset and in the
# debug preset (AddressSanitizer and UndefinedBehaviorSanitizer).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
jobs=$(nproc)
for preset in ${VELTRA_PRESETS:-release debug}; do
  echo "== preset $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
