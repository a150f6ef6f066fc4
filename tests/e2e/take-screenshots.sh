#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Remakes the screenshots of the main window with the sample game folder examples/Renegade
# loaded: main.png at 100 % and main@2x.png at 200 % (QT_SCALE_FACTOR=2); and greyed.png and
# greyed@2x.png: a Data folder with map files the game cannot play and a rotation naming a map
# that is missing, the mouse resting on a greyed map to show its tooltip. Not a test.
#   take-screenshots.sh <corvane executable> <close-window helper> <output folder>
# for example, from a build folder:
#   bash ../../tests/e2e/take-screenshots.sh ./corvane tests/e2e/e2e_close_window ../../docs/screenshots
# And of Corvane for Windows under Wine, main-windows.png at 100 %, the sample game found through
# the registry as the game's installer leaves it:
#   take-screenshots.sh --windows <Corvane.exe> <output folder>
# for example, from the Windows build folder:
#   bash ../../tests/e2e/take-screenshots.sh --windows ./Corvane.exe ../../docs/screenshots
# Needs xwd and ImageMagick's convert besides the tools of the end-to-end tests.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
for tool in xwd convert; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

if [ "${1:-}" = --windows ]; then
  [ $# -eq 3 ] || { echo "usage: $0 --windows <Corvane.exe> <output folder>" >&2; exit 2; }
  program=$(realpath "$2")
  output=$(cd "$3" && pwd)
  wine_run="$E2E_HERE/../../scripts/wine-run.sh"
  E2E_SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/corvane-shots.XXXXXX")
  export CORVANE_WINEPREFIX=$E2E_SCRATCH/prefix
  E2E_PROGRAM_PID=
  trap 'e2e_end; "$wine_run" --end; rm -rf "$E2E_SCRATCH"' EXIT
  "$wine_run" --init --display
  # shellcheck source=/dev/null
  source "$CORVANE_WINEPREFIX/x-server.env"
  game=$CORVANE_WINEPREFIX/drive_c/Games/Renegade
  mkdir -p "$game"
  cp -r "$E2E_HERE/../../examples/Renegade/." "$game/"
  : >"$game/Renegade.exe"
  "$wine_run" reg add 'HKLM\Software\Westwood\Renegade' /v InstallPath \
    /d 'C:\Games\Renegade\Renegade.exe' /f /reg:32 >/dev/null 2>&1
  E2E_PROGRAM_LOG=$E2E_SCRATCH/corvane.log
  "$wine_run" --display "$program" >"$E2E_PROGRAM_LOG" 2>&1 &
  E2E_PROGRAM_PID=$!
  E2E_TIMEOUT=60
  e2e_wait_for_main_window
  sleep 2  # let the window finish painting
  xwd -id "$E2E_WINDOW" -silent | convert xwd:- "png:$output/main-windows.png"
  echo "$output/main-windows.png"
  exit 0
fi

e2e_begin "$0" "$@"
output=$(cd "$E2E_FOLDER" && pwd)
example=$(cd "$E2E_HERE/../../examples/Renegade" && pwd)

# scale factor | file name
shots=("1|main.png" "2|main@2x.png")
for shot in "${shots[@]}"; do
  IFS='|' read -r scale file <<<"$shot"
  home=$E2E_SCRATCH/home-$scale  # no Wine prefix: Corvane asks for the folder
  mkdir -p "$home"
  e2e_launch_corvane "$home" QT_SCALE_FACTOR="$scale"
  e2e_wait_for_window '^Renegade$'
  e2e_keys Return
  e2e_wait_for_window '^Renegade Location$'
  e2e_keys ctrl+a
  xdotool type --delay 20 "$example"
  e2e_keys Return
  e2e_wait_for_main_window
  sleep 1  # let the window finish painting
  eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
  xwd -root -silent | convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "png:$output/$file"
  echo "$output/$file: ${WIDTH}x${HEIGHT}"
  e2e_close_corvane
done

# The greyed maps: the upper half of the window, with the tooltip of an available map whose name
# holds a ';'.
shots=("1|greyed.png" "2|greyed@2x.png")
for shot in "${shots[@]}"; do
  IFS='|' read -r scale file <<<"$shot"
  home=$E2E_SCRATCH/greyed-$scale
  e2e_make_home "$home" win32
  e2e_add_files "$E2E_DATA_FOLDER" C\&C_Field.mix C\&C_Islands.mix C\&C_Under.mix \
    " C&C_Lead.mix" "C&C_Glacier_Flying_Final_v2.mix" "C&C_Mines;2.mix"
  printf '[Settings]\r\nMapName01=C&C_Under.mix\r\nMapName02=C&C_Walls.mix\r\nMapName03=C&C_Field.mix\r\n' \
    >"$E2E_DATA_FOLDER/svrcfg_skirmish.ini"
  e2e_launch_corvane "$home" QT_SCALE_FACTOR="$scale"
  e2e_wait_for_main_window
  eval "$(xdotool getwindowgeometry --shell "$E2E_WINDOW")"
  xdotool mousemove $((X + 60 * scale)) $((Y + 79 * scale))  # on "C&C_Mines;2.mix"
  sleep 2  # the tooltip shows after the mouse rests
  # Without a window manager a capture of the screen leaves the tooltip black: it is taken on its
  # own and laid over the capture of the window.
  tip=$(xdotool search --onlyvisible --classname '' 2>/dev/null | grep -vx "$E2E_WINDOW" | tail -n 1)
  xwd -root -silent | convert xwd:- "$E2E_SCRATCH/screen.png"
  if [ -n "$tip" ]; then
    tip_x=$(xdotool getwindowgeometry --shell "$tip" | sed -n 's/^X=//p')
    tip_y=$(xdotool getwindowgeometry --shell "$tip" | sed -n 's/^Y=//p')
    xwd -id "$tip" -silent | convert "$E2E_SCRATCH/screen.png" xwd:- -geometry "+$tip_x+$tip_y" \
      -composite "$E2E_SCRATCH/screen.png"
  fi
  convert "$E2E_SCRATCH/screen.png" -crop "${WIDTH}x$((HEIGHT / 2))+${X}+${Y}" +repage \
    "png:$output/$file"
  echo "$output/$file: ${WIDTH}x$((HEIGHT / 2))"
  e2e_close_corvane
done
