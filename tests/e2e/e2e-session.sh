# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared helpers of the end-to-end tests, sourced by each test script: a fake home folder with a
# Wine prefix that holds the game, Corvane started under Xvfb, keys typed with xdotool, and what
# the window copies read back from the clipboard.
#
# A script is called as   <script> <corvane executable> <close-window helper> <folder>
# where the folder is the one the script works with (a test's fixture files, say). It calls
# e2e_begin "$0" "$@" first: that exits 77 (ctest's SKIP) when a tool is missing, and otherwise
# runs the script again inside its own X server.
# shellcheck shell=bash
# shellcheck disable=SC2034  # the variables set here are the sourcing script's

E2E_SKIP=77
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_TIMEOUT=15  # seconds any one wait may take before the test fails

e2e_fail() {
  echo "FAIL: $*" >&2
  [ -z "${E2E_STEP:-}" ] || echo "  (the last keys pressed: $E2E_STEP)" >&2
  if [ -n "${E2E_PROGRAM_LOG:-}" ] && [ -s "$E2E_PROGRAM_LOG" ]; then
    echo "--- Corvane's output:" >&2
    cat "$E2E_PROGRAM_LOG" >&2
  fi
  exit 1
}

# Checks the tools and arguments, then runs the calling script again in an X server of its own
# (scripts/with-xvfb.sh) with the arguments --under-xvfb and a scratch folder put first, and
# exits with its exit status after removing the scratch folder. Returns only inside the X server,
# with E2E_CORVANE, E2E_CLOSE_WINDOW, E2E_FOLDER and E2E_SCRATCH set and WINEPREFIX unset.
# Exits 77 when a tool is missing or the helper was not built.
e2e_begin() {
  local script=$1
  shift
  if [ "${1:-}" != --under-xvfb ]; then
    local tool
    for tool in Xvfb xauth mcookie xdotool xclip; do
      if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit "$E2E_SKIP"
      fi
    done
    if [ $# -ne 3 ] || [ -z "$2" ]; then
      echo "SKIP: the close-window helper was not built (no X11 development files)"
      exit "$E2E_SKIP"
    fi
    E2E_SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/corvane-e2e.XXXXXX")
    trap 'rm -rf "$E2E_SCRATCH"' EXIT
    local status=0
    "$E2E_HERE/../../scripts/with-xvfb.sh" -s 1600x1200x24 \
      bash "$script" --under-xvfb "$E2E_SCRATCH" "$@" || status=$?
    exit "$status"
  fi
  E2E_SCRATCH=$2
  E2E_CORVANE=$3
  E2E_CLOSE_WINDOW=$4
  E2E_FOLDER=$5
  [ -x "$E2E_CORVANE" ] || e2e_fail "no executable at $E2E_CORVANE"
  [ -x "$E2E_CLOSE_WINDOW" ] || e2e_fail "no executable at $E2E_CLOSE_WINDOW"
  unset WINEPREFIX
  E2E_PROGRAM_PID=
  # Every process Corvane starts inherits this mark; e2e_end fails the test when one outlives it.
  E2E_RUN_MARK=CORVANE_E2E_RUN=$$-$RANDOM$RANDOM
  # In the PATH of Corvane only: a dbus-launch that, as the bus library's own does when a
  # program asks for a session bus where there is none, leaves a bus (here a sleep) behind.
  # The bus library tries its own path first; where that exists, its bus is the one left.
  mkdir -p "$E2E_SCRATCH/stand-ins"
  printf '#!/bin/sh\nsleep 300 >/dev/null 2>&1 &\nexit 1\n' >"$E2E_SCRATCH/stand-ins/dbus-launch"
  chmod +x "$E2E_SCRATCH/stand-ins/dbus-launch"
  E2E_CLIPBOARD_PROBES=0
  E2E_CHECKS=0
  trap e2e_end EXIT
}

# The system's Python, which the bindings of Debian's packages belong to.
E2E_PYTHON=/usr/bin/python3
[ -x "$E2E_PYTHON" ] || E2E_PYTHON=python3

# Before e2e_begin, called with the script's arguments: exits 77 (SKIP) when what reading the
# accessible tree needs (a session bus, the accessibility bus, Python's Atspi) is missing.
e2e_accessibility_tools() {
  [ "${1:-}" != --under-xvfb ] || return 0
  for tool in dbus-daemon /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit "$E2E_SKIP"; }
  done
  "$E2E_PYTHON" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    { echo "SKIP: Python's Atspi bindings are not installed"; exit "$E2E_SKIP"; }
}

# After e2e_begin: a session bus of the test's own, and the accessibility bus on it, both ended
# with the test. Corvane must then be started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.
e2e_accessibility_bus() {
  local bus
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  export DBUS_SESSION_BUS_ADDRESS=${bus%%$'\n'*}
  E2E_BUS_PID=${bus##*$'\n'}
  mkdir -p -m 700 "$E2E_SCRATCH/runtime"  # where the accessibility bus puts its socket
  XDG_RUNTIME_DIR=$E2E_SCRATCH/runtime /usr/libexec/at-spi-bus-launcher --launch-immediately \
    >/dev/null 2>&1 &
  E2E_LAUNCHER_PID=$!
  trap 'E2E_STATUS=$?; kill "$E2E_LAUNCHER_PID" "$E2E_BUS_PID" 2>/dev/null || :; e2e_end' EXIT
}

# Ends Corvane if it still runs; then fails the test when a process Corvane started (one that
# carries E2E_RUN_MARK in its environment) is still running a second later, and ends it.
e2e_end() {
  local status=${E2E_STATUS:-$?}
  if [ -n "${E2E_PROGRAM_PID:-}" ] && kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; then
    kill "$E2E_PROGRAM_PID" 2>/dev/null || :
    wait "$E2E_PROGRAM_PID" 2>/dev/null || :
  fi
  [ -n "${E2E_RUN_MARK:-}" ] || return 0
  local left deadline=$((SECONDS + 1))
  while left=$(e2e_marked_processes) && [ -n "$left" ] && ((SECONDS <= deadline)); do
    sleep 0.1
  done
  [ -n "$left" ] || return 0
  echo "FAIL: Corvane left processes running:" >&2
  local pid
  for pid in $left; do
    echo "  $pid: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" >&2
    kill "$pid" 2>/dev/null || :
  done
  ((status != 0)) || status=1
  exit "$status"
}

# The ids of the running processes whose environment holds E2E_RUN_MARK.
e2e_marked_processes() {
  local environment pid
  for environment in /proc/[0-9]*/environ; do
    pid=${environment#/proc/}
    pid=${pid%/environ}
    if tr '\0' '\n' <"$environment" 2>/dev/null | grep -qxF "$E2E_RUN_MARK"; then
      echo "$pid"
    fi
  done
}

# Polls `command...` every 50 ms until it succeeds; fails the test with `what` after
# E2E_TIMEOUT seconds.
e2e_wait_until() {
  local what=$1
  shift
  local deadline=$((SECONDS + E2E_TIMEOUT))
  until "$@"; do
    ((SECONDS < deadline)) || e2e_fail "timed out waiting until $what"
    sleep 0.05
  done
}

# Makes a home folder at `home` with the plain Wine prefix ~/.wine holding the game (see
# e2e_make_prefix). Sets E2E_DATA_FOLDER to the game's Data folder.
e2e_make_home() {
  e2e_make_prefix "$1/.wine" "$2"
}

# Makes the Wine prefix `prefix`: drive C: links to drive_c, the game lies in
# C:\Games\Renegade (an empty Renegade.exe and an empty Data folder), and system.reg holds the
# game's InstallPath. `arch` is win32 (the key under Software) or win64 (the key under
# Software\Wow6432Node, where a 32-bit installer leaves it). Sets E2E_DATA_FOLDER to the game's
# Data folder.
e2e_make_prefix() {
  local prefix=$1 arch=$2 key
  local game=$prefix/drive_c/Games/Renegade
  case $arch in
    win32) key='Software\\Westwood\\Renegade' ;;
    win64) key='Software\\Wow6432Node\\Westwood\\Renegade' ;;
    *) e2e_fail "unknown prefix architecture '$arch'" ;;
  esac
  mkdir -p "$game/Data" "$prefix/dosdevices"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  ln -s / "$prefix/dosdevices/z:"
  : >"$game/Renegade.exe"
  {
    printf 'WINE REGISTRY Version 2\n'
    printf ';; All keys relative to REGISTRY\\\\Machine\n'
    printf '\n#arch=%s\n' "$arch"
    printf '\n[Software\\\\Classes] 1700000000\n#time=1da1b2c3d4e5f60\n@=""\n'
    printf '\n[%s] 1700000000\n#time=1da1b2c3d4e5f61\n' "$key"
    printf '"InstallPath"="C:\\\\Games\\\\Renegade\\\\Renegade.exe"\n'
    printf '"Language"=dword:00000000\n'
  } >"$prefix/system.reg"
  E2E_DATA_FOLDER=$game/Data
}

# Empty files named `names...` in `folder`: map files for the scan, which reads only names.
e2e_add_files() {
  local folder=$1
  shift
  local name
  for name in "$@"; do : >"$folder/$name"; done
}

# Starts Corvane with `home` as its home folder and `settings...` (NAME=value) added to its
# environment; sets E2E_PROGRAM_PID.
e2e_launch_corvane() {
  local home=$1
  shift
  local runtime=$E2E_SCRATCH/runtime
  mkdir -p "$runtime"
  chmod 700 "$runtime"
  E2E_PROGRAM_LOG=$E2E_SCRATCH/corvane.log
  # A sanitizer build's leak checker skips what system libraries leave behind.
  local leak_options="suppressions=$E2E_HERE/lsan-suppressions.txt"
  env -u WINEPREFIX -u WAYLAND_DISPLAY -u QT_SCALE_FACTOR HOME="$home" "$E2E_RUN_MARK" \
    PATH="$E2E_SCRATCH/stand-ins:$PATH" XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb \
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}$leak_options" "$@" \
    "$E2E_CORVANE" >"$E2E_PROGRAM_LOG" 2>&1 &
  E2E_PROGRAM_PID=$!
}

# Waits until a visible window whose title matches the extended regular expression `title`
# shows, and gives it the keyboard focus; sets E2E_SHOWN to it. Fails when Corvane ends first.
e2e_wait_for_window() {
  e2e_wait_until "a window titled '$1' shows" e2e_window_shown "$1"
  xdotool windowfocus --sync "$E2E_SHOWN"
}

# True when a visible window's title matches `title`; sets E2E_SHOWN to it. Fails the test when
# Corvane has ended.
e2e_window_shown() {
  kill -0 "$E2E_PROGRAM_PID" 2>/dev/null || e2e_fail "Corvane ended before '$1' showed"
  E2E_SHOWN=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
  [ -n "$E2E_SHOWN" ]
}

# Waits until Corvane's main window shows and gives it the keyboard focus; sets E2E_WINDOW.
e2e_wait_for_main_window() {
  e2e_wait_for_window 'Skirmish Setup'
  E2E_WINDOW=$E2E_SHOWN
}

# Starts Corvane with `home` as its home folder and waits until its main window shows (see
# e2e_launch_corvane and e2e_wait_for_main_window).
e2e_start_corvane() {
  e2e_launch_corvane "$1"
  e2e_wait_for_main_window
}

# Closes the main window as a window manager's close button does, waits until Corvane ends and
# fails unless it ended with exit status 0.
e2e_close_corvane() {
  "$E2E_CLOSE_WINDOW" "$E2E_WINDOW" || e2e_fail "could not send the close message"
  e2e_wait_until "Corvane ends after its window was closed" e2e_program_ended
  local status=0
  wait "$E2E_PROGRAM_PID" || status=$?
  E2E_PROGRAM_PID=
  [ "$status" -eq 0 ] || e2e_fail "Corvane ended with exit status $status"
}

e2e_program_ended() { ! kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; }

# Presses `keys...` (xdotool key names) in the window that has the keyboard focus.
e2e_keys() { xdotool key --delay 30 "$@"; }

# Presses `keys...` for the step `what`, which a failure after it names.
e2e_step() {
  E2E_STEP="$1"
  shift
  e2e_keys "$@"
}

# Counts one check that passed; e2e_report prints the count.
e2e_pass() { E2E_CHECKS=$((E2E_CHECKS + 1)); }
e2e_report() { echo "$E2E_CHECKS passed, 0 failed"; }

e2e_clipboard() { xclip -o -selection clipboard 2>/dev/null; }

e2e_clipboard_is() { [ "$(e2e_clipboard)" = "$1" ]; }

e2e_clipboard_is_not() { [ "$(e2e_clipboard)" != "$1" ]; }

# Puts `text` on the clipboard and waits until it is there.
e2e_set_clipboard() {
  printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
  e2e_wait_until "the clipboard holds '$1'" e2e_clipboard_is "$1"
}

# Presses `keys...` (none, or ctrl+a to select a text field's whole text) and Ctrl+C once, and
# sets E2E_COPIED to what the focused control copied, or to "" when it copied nothing within
# 2 seconds.
e2e_copy_once() {
  E2E_CLIPBOARD_PROBES=$((E2E_CLIPBOARD_PROBES + 1))
  local marker="(nothing copied, probe $E2E_CLIPBOARD_PROBES)"
  e2e_set_clipboard "$marker"
  e2e_keys "$@" ctrl+c
  local deadline=$((SECONDS + 2))
  while e2e_clipboard_is "$marker" && ((SECONDS < deadline)); do sleep 0.05; done
  E2E_COPIED=$(e2e_clipboard)
  [ "$E2E_COPIED" != "$marker" ] || E2E_COPIED=
}

# Copies with `keys...` and Ctrl+C (again and again, which changes nothing) until the focused
# control copies exactly `expected`; fails the test with `what` and the last copied text after
# E2E_TIMEOUT.
e2e_expect_copy() {
  local expected=$1 what=$2
  shift 2
  local deadline=$((SECONDS + E2E_TIMEOUT))
  while :; do
    e2e_copy_once "$@"
    if [ "$E2E_COPIED" = "$expected" ]; then
      e2e_pass
      return 0
    fi
    ((SECONDS < deadline)) || e2e_fail "$what: copied '$E2E_COPIED', expected '$expected'"
  done
}

# Copies with Ctrl+C until the focused control copies some text other than `old` (a button
# pressed by its mnemonic acts a moment after the key); fails after E2E_TIMEOUT.
e2e_expect_copy_changes_from() {
  local old=$1 what=$2
  local deadline=$((SECONDS + E2E_TIMEOUT))
  while :; do
    e2e_copy_once
    if [ -n "$E2E_COPIED" ] && [ "$E2E_COPIED" != "$old" ]; then
      e2e_pass
      return 0
    fi
    ((SECONDS < deadline)) || e2e_fail "$what: still copied '$E2E_COPIED'"
  done
}
