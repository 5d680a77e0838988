#!/usr/bin/env bash
# Builds one preset (default: release) and runs the whole test suite on it.
# The windows preset cross-builds gndfit.exe and runs its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
scripts/install-deps.sh "$preset"
cmake --preset "$preset"
cmake --build --preset "$preset"
if [ "$preset" = windows ]; then
  source scripts/wine-env.sh
  if [ "$WINE_READY" != 1 ]; then
    echo "test.sh: SKIPPED every test of the windows preset (gndfit.exe was built, not run)"
    exit 0
  fi
  trap 'wineserver -k 2>/dev/null || true' EXIT
fi
ctest --preset "$preset"
