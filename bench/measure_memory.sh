#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Peak resident memory of Corvane's start-up against the smallest Qt Widgets program: runs
# startup_probe (start-up as main.cpp runs it, ended once the window is exposed) in a generated
# home whose game's Data folder holds 20,000 practice maps (and the 15 mission files) and a
# settings file with a rotation of 100, and minimal_window (an empty window ended the same way),
# alternating, under /usr/bin/time (the peak is getrusage's ru_maxrss of the finished child).
# Prints each program's median peak and the difference (goal: at most 8 MB more), first on an
# X server (one Xvfb through scripts/with-xvfb.sh), then with QT_QPA_PLATFORM=offscreen. With a
# third argument, the startup_probe of that build folder (an earlier version, say) runs in the
# same alternation.
# Usage: bench/measure_memory.sh [build folder] [runs of each program] [build folder before]
#        (defaults: build/default, 5)
# Exit status: 0 when every run succeeded (the difference is reported, not judged), 1 when a run
# failed, 2 when a program or tool is missing.
set -euo pipefail
script=$(realpath "$0")
cd "$(dirname "$script")/.."

# One platform's measurement: called by the script itself, under scripts/with-xvfb.sh for the X server.
if [ "${1:-}" = "--measure" ]; then
  probe=$2 minimal=$3 home=$4 runs=$5 platform=$6 before=${7:-}
  declare -a probe_kb minimal_kb before_kb
  peak_kb() {  # peak_kb <program>: the peak resident memory of one run in KB, on stdout
    local peak
    peak=$(HOME=$home timeout 60 /usr/bin/time -f '%M' "$1" 2>&1 >/dev/null | tail -n 1) ||
      { echo "a run of $1 failed" >&2; return 1; }
    echo "$peak"
  }
  median() {  # median <numbers...>
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
      print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
  }
  for ((run = 1; run <= runs; ++run)); do
    probe_kb+=("$(peak_kb "$probe")")
    minimal_kb+=("$(peak_kb "$minimal")")
    [ -z "$before" ] || before_kb+=("$(peak_kb "$before")")
  done
  echo "$platform: $runs runs each, alternating"
  echo "  startup_probe  peak KB: ${probe_kb[*]}"
  echo "  minimal_window peak KB: ${minimal_kb[*]}"
  awk -v p="$(median "${probe_kb[@]}")" -v m="$(median "${minimal_kb[@]}")" 'BEGIN {
    more = (p - m) / 1024
    printf "  medians: startup_probe %.1f MB, minimal_window %.1f MB, %.1f MB more (goal: at most 8 MB more: %s)\n",
      p / 1024, m / 1024, more, more <= 8 ? "met" : "missed" }'
  if [ -n "$before" ]; then
    echo "  before         peak KB: ${before_kb[*]}"
    awk -v p="$(median "${before_kb[@]}")" -v m="$(median "${minimal_kb[@]}")" 'BEGIN {
      printf "  before: %.1f MB, %.1f MB more than minimal_window\n", p / 1024, (p - m) / 1024 }'
  fi
  exit 0
fi

build=${1:-build/default}
runs=${2:-5}
before=${3:+$3/bench/startup_probe}
probe=$build/bench/startup_probe
minimal=$build/bench/minimal_window
# shellcheck source=bench/probe_home.sh
source "$(dirname "$script")/probe_home.sh"
require_probe_programs "$probe" "$minimal"
[ -x /usr/bin/time ] || { echo "/usr/bin/time is needed (apt-get install time)" >&2; exit 2; }

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
make_probe_home "$probe" "$home" 20000 100

status=0
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$(dirname "$script")/../scripts/with-xvfb.sh" \
  "$script" --measure "$probe" "$minimal" "$home" "$runs" "X server (Xvfb)" "$before" || status=1
QT_QPA_PLATFORM=offscreen "$script" --measure "$probe" "$minimal" "$home" "$runs" "offscreen" "$before" ||
  status=1
exit "$status"
