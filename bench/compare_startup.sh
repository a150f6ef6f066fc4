#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Times Corvane's start-up against the smallest Qt Widgets programs, as whole processes: each run
# forks and executes startup_probe (start-up exactly as main.cpp runs it, ended once the window
# is exposed), minimal_window (an empty window ended the same way) and plain_form (the main
# window's controls as plain Qt widgets, nothing else), alternating, in a generated home of one
# Wine prefix whose game's Data folder holds 2,000 .mix files (1,985 practice maps and the 15
# mission files) and a settings file with a rotation of 99; and startup_probe once more in the
# same alternation in a home whose Data folder holds 20,000 practice maps (rotation of 100).
# With a third argument, the startup_probe of that build folder (an earlier version, say) runs
# in the same alternation in both homes, so that before and after are timed side by side.
# Prints each program's median, the probes' ratios to both (goal: at most 1.1 times plain_form)
# and what 20,000 maps add over 2,000 (goal: at most 25 ms): first on an X server (one Xvfb for
# all runs, through scripts/with-xvfb.sh, inside a session bus of its own from dbus-run-session
# when there is one, as on a desktop), then with QT_QPA_PLATFORM=offscreen.
# Usage: bench/compare_startup.sh [build folder] [runs of each program] [build folder before]
#        (defaults: build/default, 30; at least 10 runs)
# Exit status: 0 when every run succeeded (the ratios are reported, not judged), 1 when a run
# failed, 2 when a program or tool is missing.
set -euo pipefail
script=$(realpath "$0")
cd "$(dirname "$script")/.."
build=${1:-build/default}
runs=${2:-30}
before=${3:-}
probe=$build/bench/startup_probe
minimal=$build/bench/minimal_window
plain=$build/bench/plain_form

# One platform's comparison: called by the script itself, under scripts/with-xvfb.sh for the X
# server. The arguments after the run count and the platform's name come in threes: a name, a
# program and the home it runs in.
if [ "${1:-}" = "--measure" ]; then
  runs=$2 platform=$3
  shift 3
  declare -a names programs homes
  while (($# >= 3)); do
    names+=("$1") programs+=("$2") homes+=("$3")
    shift 3
  done
  declare -A times
  run_once() {  # run_once <program> <home>: the wall time of one whole process in ms, on stdout
    local started=$EPOCHREALTIME
    HOME=$2 timeout 60 "$1" 2>/dev/null || { echo "a run of $1 failed" >&2; return 1; }
    local ended=$EPOCHREALTIME
    awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.2f", (b - a) * 1000 }'
  }
  median() {  # median <numbers...>
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
      print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
  }
  # One unmeasured run of each first: the files and libraries in the page cache, the font cache
  # read once.
  for i in "${!names[@]}"; do run_once "${programs[$i]}" "${homes[$i]}" >/dev/null; done
  for ((run = 1; run <= runs; ++run)); do
    for i in "${!names[@]}"; do
      times[$i]+=" $(run_once "${programs[$i]}" "${homes[$i]}")"
    done
  done
  echo "$platform: $runs runs each, alternating"
  declare -A medians
  for i in "${!names[@]}"; do
    # shellcheck disable=SC2086  # the times are words
    medians[${names[$i]}]=$(median ${times[$i]})
    printf '  %-26s ms:%s\n' "${names[$i]}" "${times[$i]}"
  done
  printf '  medians:'
  for i in "${!names[@]}"; do printf ' %s %.1f ms;' "${names[$i]}" "${medians[${names[$i]}]}"; done
  echo
  minimal=${medians[minimal_window]} plain=${medians[plain_form]}
  for name in "${names[@]}"; do
    case $name in minimal_window | plain_form) continue ;; esac
    awk -v name="$name" -v p="${medians[$name]}" -v m="$minimal" -v f="$plain" 'BEGIN {
      printf "  %s: %.2f times minimal_window, %.2f times plain_form (goal: at most 1.1: %s)\n",
        name, p / m, p / f, p / f <= 1.1 ? "met" : "missed" }'
  done
  awk -v f="$plain" -v m="$minimal" 'BEGIN {
    printf "  for scale: plain_form %.2f times minimal_window\n", f / m }'
  if [ -n "${medians[startup_probe_20000]:-}" ]; then
    awk -v a="${medians[startup_probe_20000]}" -v b="${medians[startup_probe]}" 'BEGIN {
      printf "  startup_probe at 20,000 maps: %+.1f ms over 2,000 (goal: at most +25 ms: %s)\n",
        a - b, a - b <= 25 ? "met" : "missed" }'
  fi
  if [ -n "${medians[before_20000]:-}" ]; then
    awk -v a="${medians[before_20000]}" -v b="${medians[before]}" 'BEGIN {
      printf "  before at 20,000 maps: %+.1f ms over 2,000\n", a - b }'
  fi
  exit 0
fi

((runs >= 10)) || { echo "at least 10 runs of each program" >&2; exit 2; }
[ -z "$before" ] || [ -x "$before/bench/startup_probe" ] ||
  { echo "no startup_probe in $before" >&2; exit 2; }
# shellcheck source=bench/probe_home.sh
source "$(dirname "$script")/probe_home.sh"
require_probe_programs "$probe" "$minimal" "$plain"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
make_probe_home "$probe" "$work/home" 1985 99
make_probe_home "$probe" "$work/home-20000" 20000 100
measured=(startup_probe "$probe" "$work/home" minimal_window "$minimal" "$work/home"
  plain_form "$plain" "$work/home" startup_probe_20000 "$probe" "$work/home-20000")
if [ -n "$before" ]; then
  measured+=(before "$before/bench/startup_probe" "$work/home"
    before_20000 "$before/bench/startup_probe" "$work/home-20000")
fi

uptime
status=0
# A desktop runs a session bus; Qt's accessibility asks it whether a screen reader is on.
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "${session[@]}" \
  "$(dirname "$script")/../scripts/with-xvfb.sh" "$script" --measure "$runs" \
  "X server (Xvfb${session:+, session bus})" "${measured[@]}" || status=1
QT_QPA_PLATFORM=offscreen "$script" --measure "$runs" "offscreen" "${measured[@]}" || status=1
exit "$status"
