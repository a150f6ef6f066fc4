#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Times Corvane's start-up against the smallest Qt Widgets program, as whole processes: each run
# forks and executes startup_probe (start-up exactly as main.cpp runs it, ended once the window
# is exposed) or minimal_window (an empty window ended the same way), alternating, in a generated
# home of one Wine prefix whose game's Data folder holds 2,000 .mix files (1,985 practice maps and
# the 15 mission files) and a settings file with a rotation of 99. Prints each platform's medians
# and their ratio (goal: at most 1.2): first on an X server (one Xvfb for all runs of that
# platform, through scripts/with-xvfb.sh), then with QT_QPA_PLATFORM=offscreen. plain_form (the
# main window's controls as plain Qt widgets, nothing else) runs in the same alternation, for
# scale: its median and its ratio to the empty window are printed, not judged.
# Usage: bench/compare_startup.sh [build folder] [runs of each program]
#        (defaults: build/default, 30; at least 10 runs)
# Exit status: 0 when every run succeeded (the ratio is reported, not judged), 1 when a run
# failed, 2 when a program or tool is missing.
set -euo pipefail
script=$(realpath "$0")
cd "$(dirname "$script")/.."
build=${1:-build/default}
runs=${2:-30}
probe=$build/bench/startup_probe
minimal=$build/bench/minimal_window
plain=$build/bench/plain_form

# One platform's comparison: called by the script itself, under scripts/with-xvfb.sh for the X server.
if [ "${1:-}" = "--measure" ]; then
  probe=$2 minimal=$3 plain=$4 home=$5 runs=$6 platform=$7
  declare -a probe_ms minimal_ms plain_ms
  run_once() {  # run_once <program>: the wall time of one whole process in ms, on stdout
    local started=$EPOCHREALTIME
    HOME=$home timeout 60 "$1" 2>/dev/null || { echo "a run of $1 failed" >&2; return 1; }
    local ended=$EPOCHREALTIME
    awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.2f", (b - a) * 1000 }'
  }
  median() {  # median <numbers...>
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
      print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
  }
  # One unmeasured run of each first: the files and libraries in the page cache, the font cache
  # read once.
  for program in "$probe" "$minimal" "$plain"; do run_once "$program" >/dev/null; done
  for ((run = 1; run <= runs; ++run)); do
    probe_ms+=("$(run_once "$probe")")
    minimal_ms+=("$(run_once "$minimal")")
    plain_ms+=("$(run_once "$plain")")
  done
  probe_median=$(median "${probe_ms[@]}")
  minimal_median=$(median "${minimal_ms[@]}")
  plain_median=$(median "${plain_ms[@]}")
  echo "$platform: $runs runs each, alternating"
  echo "  startup_probe  ms: ${probe_ms[*]}"
  echo "  minimal_window ms: ${minimal_ms[*]}"
  echo "  plain_form     ms: ${plain_ms[*]}"
  awk -v p="$probe_median" -v m="$minimal_median" -v f="$plain_median" 'BEGIN {
    ratio = p / m
    printf "  medians: startup_probe %.1f ms, minimal_window %.1f ms, ratio %.2f (goal: at most 1.2: %s)\n",
      p, m, ratio, ratio <= 1.2 ? "met" : "missed"
    printf "  for scale: plain_form %.1f ms, %.2f times minimal_window\n", f, f / m }'
  exit 0
fi

((runs >= 10)) || { echo "at least 10 runs of each program" >&2; exit 2; }
# shellcheck source=bench/probe_home.sh
source "$(dirname "$script")/probe_home.sh"
require_probe_programs "$probe" "$minimal" "$plain"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
make_probe_home "$probe" "$home" 1985 99

uptime
status=0
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$(dirname "$script")/../scripts/with-xvfb.sh" \
  "$script" --measure "$probe" "$minimal" "$plain" "$home" "$runs" "X server (Xvfb)" || status=1
QT_QPA_PLATFORM=offscreen "$script" --measure "$probe" "$minimal" "$plain" "$home" "$runs" \
  "offscreen" || status=1
exit "$status"
