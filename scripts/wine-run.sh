#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine in the throwaway prefix of the build that made it:
#   wine-run.sh program.exe [arguments...]
#   wine-run.sh --init     makes the prefix afresh (ctest's set-up of the Windows tests)
#   wine-run.sh --end      stops the prefix's wineserver (ctest's clean-up)
# The prefix is $CORVANE_WINEPREFIX (the test preset sets it inside the build folder). Wine's
# Mono and Gecko installers are switched off and its debug output silenced; no display is needed.
# Nothing outside the prefix is touched.
set -euo pipefail
: "${CORVANE_WINEPREFIX:?CORVANE_WINEPREFIX names the Wine prefix the tests use}"
export WINEPREFIX=$CORVANE_WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY

wine=
for candidate in wine64 /usr/lib/wine/wine64 wine; do
  if command -v "$candidate" >/dev/null; then
    wine=$(command -v "$candidate")
    break
  fi
done
[ -n "$wine" ] || { echo "Wine is not installed (apt-get install wine64)" >&2; exit 2; }
wineserver=$(dirname "$wine")/wineserver
command -v "$wineserver" >/dev/null || wineserver=wineserver

case "${1:-}" in
  --init)
    if [ -d "$WINEPREFIX" ]; then "$wineserver" -k 2>/dev/null || :; fi
    rm -rf "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wineserver" -w
    ;;
  --end)
    "$wineserver" -k 2>/dev/null || :
    ;;
  "")
    echo "usage: $0 program.exe [arguments...] | --init | --end" >&2
    exit 2
    ;;
  *)
    exec "$wine" "$@"
    ;;
esac
