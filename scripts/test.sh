#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds one preset (default: release) and runs the whole test suite on it.
# The windows preset cross-builds gndfit.exe and runs its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
case "$preset" in
  release|sanitize|tsan|windows|arm64|soft|wasm) ;;
  fuzz) exec scripts/fuzz.sh ;;  # the fuzz targets have no ctest tests: they are run
  program)
    echo "test.sh: the program preset builds the program alone, without tests;" \
         "use 'scripts/test.sh release' for the suite" >&2
    exit 2 ;;
  *)
    echo "test.sh: unknown preset '$preset': one of release, sanitize, tsan, windows," \
         "arm64, soft, wasm, fuzz" >&2
    exit 2 ;;
esac
scripts/install-deps.sh "$preset"
if [ "$preset" = wasm ]; then
  # The web page: built with Emscripten, then opened in headless Chromium
  # (from disk and from a local server) and compared cell by cell with the
  # console program's rows, which the program preset builds; its chart and
  # phone layout read back, its joint fit of several measurements against
  # the program's JSON, its probe view against the program's --probe on
  # the example sweeps, its offline use and installability, and axe and
  # Lighthouse audits; before them Node's own test runner on the page's
  # pure functions (tests/web/unit).  Every file runs to its end, so one
  # run reports all.
  cmake --preset wasm
  cmake --build --preset wasm
  cmake --preset program
  cmake --build --preset program
  (cd tests/web && npm ci --no-audit --no-fund)
  web=build/wasm/web
  artifacts=build/wasm/web-test-artifacts
  status=0
  node --test tests/web/unit/ || status=1
  node tests/web/page_test.mjs "$web" build/program/gndfit tests/golden "$artifacts" || status=1
  node tests/web/chart_test.mjs "$web" "$artifacts" || status=1
  node tests/web/offline_test.mjs "$web" build/program/gndfit "$artifacts" || status=1
  node tests/web/joint_test.mjs "$web" build/program/gndfit "$artifacts" || status=1
  node tests/web/probe_test.mjs "$web" build/program/gndfit examples/sweeps "$artifacts" || status=1
  node tests/web/audit_test.mjs "$web" "$artifacts" || status=1
  [ "$status" -eq 0 ] || { echo "test.sh: web tests FAILED"; exit 1; }
  echo "test.sh: web/ holds $(du -sb build/wasm/web | cut -f1) bytes"
  exit 0
fi
cmake --preset "$preset"
cmake --build --preset "$preset"
if [ "$preset" = windows ]; then
  source scripts/wine-env.sh
  if [ "$WINE_READY" != 1 ]; then
    # In CI a preset whose tests cannot run is a failure, never a skip.
    if [ "${CI:-}" = true ]; then
      echo "test.sh: the windows preset's tests cannot run here: FAILED"
      exit 1
    fi
    echo "test.sh: SKIPPED every test of the windows preset (gndfit.exe was built, not run)"
    exit 0
  fi
  trap 'wineserver -k 2>/dev/null || true' EXIT
fi
ctest --preset "$preset"
