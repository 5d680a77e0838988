#!/usr/bin/env bash
# Builds one preset (default: release) and runs the whole test suite on it.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
