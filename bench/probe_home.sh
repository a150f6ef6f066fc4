# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Shared by compare_startup.sh and measure_memory.sh (sourced, not run): the checks for the two
# programs they compare and the generated home they run in.

# require_probe_programs <program...>: exits 2 when a program or Xvfb is missing.
require_probe_programs() {
  local program
  for program in "$@"; do
    [ -x "$program" ] || {
      echo "no $program (build the startup_probe, minimal_window and plain_form targets)" >&2
      exit 2
    }
  done
  command -v Xvfb >/dev/null || { echo "Xvfb is needed (apt-get install xvfb xauth)" >&2; exit 2; }
}

# make_probe_home <probe> <home> <practice maps> <rotation>: writes the home (see startup_probe
# --make-home) and checks that start-up there gives those lists; exits 1 when it does not.
make_probe_home() {
  local probe=$1 home=$2 maps=$3 rotation=$4 report
  "$probe" --make-home "$home" "$maps" "$rotation"
  report=$(HOME=$home QT_QPA_PLATFORM=offscreen timeout 60 "$probe" --report 2>/dev/null)
  if ! grep -q "^available maps: $maps\$" <<<"$report" ||
    ! grep -q "^rotation: $rotation\$" <<<"$report"; then
    echo "start-up in the generated home did not give the expected lists:" >&2
    echo "$report" >&2
    exit 1
  fi
}
