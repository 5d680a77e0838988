# SPDX-License-Identifier: MIT
# Sourced by the scripts that run gndfit.exe (scripts/test.sh windows before
# ctest): the one place that sets Wine's variables.  A Wine prefix of the
# build's own, quiet, without the .NET and HTML prompts, and one persistent
# wineserver so that each run starts in a fraction of a second.
# Sets WINE_READY=1 when Wine works here; otherwise says why in one line.
export WINEPREFIX="${WINEPREFIX:-$PWD/build/windows/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE_READY=0
if ! command -v wine >/dev/null || ! command -v wineserver >/dev/null; then
  echo "wine-env: Wine is not installed; the tests of gndfit.exe cannot run here"
elif ! { mkdir -p "$WINEPREFIX" && wineserver -p && timeout 300 wineboot --init >/dev/null 2>&1; }; then
  echo "wine-env: Wine cannot start on this machine; the tests of gndfit.exe cannot run here"
else
  WINE_READY=1
fi
