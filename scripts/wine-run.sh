#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine in the throwaway prefix of the build that made it:
#   wine-run.sh program.exe [arguments...]
#   wine-run.sh --display program.exe [arguments...]
#                          the same on the prefix's X server (see --init); without --display the
#                          program has no display
#   wine-run.sh --init [--display] [NAME=value...]
#                          makes the prefix afresh (ctest's set-up of the Windows tests), with
#                          these variables in the environment of its programs; with --display
#                          also an X server of its own (scripts/with-xvfb.sh), which every
#                          program of the prefix shares (Wine's desktop process of a prefix
#                          keeps the display it started on); sourcing <prefix>/x-server.env
#                          sets DISPLAY to it
#   wine-run.sh --wait     waits until every program of the prefix has ended
#   wine-run.sh --end      stops the prefix's wineserver and X server (ctest's clean-up)
# The prefix is $CORVANE_WINEPREFIX (the test preset sets it inside the build folder). Wine's
# Mono and Gecko installers and its menu builder (which writes desktop entries into the home
# folder) are switched off and its debug output silenced; no display is needed.
# The libraries of Qt for Windows (scripts/qt-for-windows.sh) and of the compiler's runtime are
# found on the Windows PATH; Qt finds its plugins beside them. Nothing outside the prefix is
# touched.
set -euo pipefail
: "${CORVANE_WINEPREFIX:?CORVANE_WINEPREFIX names the Wine prefix the tests use}"
export WINEPREFIX=$CORVANE_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
if [ "${1:-}" = --display ]; then
  [ -f "$WINEPREFIX/x-server.env" ] ||
    { echo "$WINEPREFIX has no X server: make it with --init --display" >&2; exit 2; }
  # shellcheck source=/dev/null
  source "$WINEPREFIX/x-server.env"
  shift
fi
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
    if [ -d "$WINEPREFIX" ]; then
      "$wineserver" -k 2>/dev/null || :
      "$(dirname "$0")/with-xvfb.sh" --stop "$WINEPREFIX"
    fi
    rm -rf "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
    # Wine run by its loader alone, as here, does not find its own fonts (Tahoma, the face of
    # Windows' dialogs among them), which a Wine installed with its launcher offers every
    # program: the prefix gets copies.
    if [ -d /usr/share/wine/fonts ]; then
      cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || :
    fi
    shift
    if [ "${1:-}" = --display ]; then
      "$(dirname "$0")/with-xvfb.sh" --start "$WINEPREFIX"
      shift
    fi
    # Wine passes no QT_ variable of the Linux environment on: such settings go into the
    # prefix's own environment. Qt there writes its messages (and Qt Test its results) to the
    # standard streams, which it hands only to a debugger where there is no console. A program
    # that crashes ends with Wine's report instead of a crash dialog, which would wait forever.
    for setting in QT_FORCE_STDERR_LOGGING=1 "$@"; do
      "$wine" reg add 'HKCU\Environment' /v "${setting%%=*}" /d "${setting#*=}" /f >/dev/null 2>&1
    done
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    "$wineserver" -w
    ;;
  --wait)
    "$wineserver" -w
    ;;
  --end)
    "$wineserver" -k 2>/dev/null || :
    "$(dirname "$0")/with-xvfb.sh" --stop "$WINEPREFIX"
    ;;
  "")
    echo "usage: $0 [--display] program.exe [arguments...] | --init [--display] [NAME=value...] | --wait | --end" >&2
    exit 2
    ;;
  *)
    exec "$wine" "$@"
    ;;
esac
