#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine in the throwaway prefix of the build that made it:
#   wine-run.sh program.exe [arguments...]
#   wine-run.sh --init     makes the prefix afresh (ctest's set-up of the Windows tests)
#   wine-run.sh --wait     waits until every program of the prefix has ended
#   wine-run.sh --end      stops the prefix's wineserver (ctest's clean-up)
# The prefix is $CORVANE_WINEPREFIX (the test preset sets it inside the build folder). Wine's
# Mono and Gecko installers and its menu builder (which writes desktop entries into the home
# folder) are switched off and its debug output silenced; no display is needed.
# The libraries of Qt for Windows (scripts/qt-for-windows.sh) and of the compiler's runtime are
# found on the Windows PATH; Qt finds its plugins beside them. Nothing outside the prefix is
# touched.
set -euo pipefail
: "${CORVANE_WINEPREFIX:?CORVANE_WINEPREFIX names the Wine prefix the tests use}"
export WINEPREFIX=$CORVANE_WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEARCH=win64
# A test that shows real windows under Wine sets CORVANE_WINE_DISPLAY to its X display.
if [ -n "${CORVANE_WINE_DISPLAY:-}" ]; then
  export DISPLAY=$CORVANE_WINE_DISPLAY
else
  unset DISPLAY
fi
unset WAYLAND_DISPLAY
qt=${CORVANE_QT_WINDOWS:-$("$(dirname "$0")/qt-for-windows.sh" --print)}
qt_bin="Z:${qt//\//\\}\\bin"
export WINEPATH="$qt_bin${WINEPATH:+;$WINEPATH}"

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
  --wait)
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
