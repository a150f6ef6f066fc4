#!/usr/bin/env bash
# Remakes the screenshots of the main window with the sample game folder examples/Renegade
# loaded: main.png at 100 % and main@2x.png at 200 % (QT_SCALE_FACTOR=2). Not a test.
#   take-screenshots.sh <corvane executable> <close-window helper> <output folder>
# for example, from a build folder:
#   bash ../../tests/e2e/take-screenshots.sh ./corvane tests/e2e/e2e_close_window ../../docs/screenshots
# Needs xwd and ImageMagick's convert besides the tools of the end-to-end tests.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
for tool in xwd convert; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
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
