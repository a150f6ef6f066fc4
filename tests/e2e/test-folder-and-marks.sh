#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of a settings file the game reads otherwise than the window shows it, and of a
# map file copied into the Data folder while Corvane's window is open, read through the desktop's
# accessibility bus as a screen reader gets them: the quoted time limit is marked with its note,
# the new map appears in Available Maps (marked, as the rotation names it) and the rotation's
# entry of it is no longer missing; closing then asks, as the window counts as changed.
#   test-folder-and-marks.sh <corvane executable> <close-window helper> <fixture folder>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
e2e_accessibility_tools "$@"
e2e_begin "$0" "$@"
e2e_accessibility_bus

e2e_make_home "$E2E_SCRATCH/home" win64
e2e_add_files "$E2E_DATA_FOLDER" C\&C_Field.mix
printf '[Settings]\r\nTimeLimitMinutes="45"\r\nMapName01=C&C_Zone.mix\r\n' \
  >"$E2E_DATA_FOLDER/svrcfg_skirmish.ini"
e2e_launch_corvane "$E2E_SCRATCH/home" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_wait_for_main_window

tree=$E2E_SCRATCH/tree.txt
# True when a line of the accessible tree (role|name|states|actions|description) matches.
tree_has() {
  "$E2E_PYTHON" "$E2E_HERE/accessible-tree.py" Corvane 10 >"$tree" &&
    grep -qE "$1" "$tree"
}
tree_has '^ *text\|[^|]*\|.*TimeLimitMinutes="45".*which the game reads as 0' ||
  { cat "$tree"; e2e_fail "the quoted time limit is not marked"; }
grep -qE '^ *list item\|C&C_Zone\.mix\|.*\|.*\|.*not in the game.s Data folder' "$tree" ||
  e2e_fail "the rotation's map is not missing at first"
e2e_pass

e2e_add_files "$E2E_DATA_FOLDER" C\&C_Zone.mix
e2e_wait_until "C&C_Zone.mix appears in Available Maps, marked" \
  tree_has '^ *list item\|\+\+\+ C&C_Zone\.mix\|'
! grep -qE 'not in the game.s Data folder' "$tree" || e2e_fail "the rotation's map is still missing"
e2e_pass

"$E2E_CLOSE_WINDOW" "$E2E_WINDOW" || e2e_fail "could not send the close message"
e2e_wait_for_window '^Save$'
e2e_keys n  # No: close without saving
e2e_wait_until "Corvane ends" e2e_program_ended
wait "$E2E_PROGRAM_PID" || e2e_fail "Corvane ended with a failure"
E2E_PROGRAM_PID=
grep -q 'TimeLimitMinutes="45"' "$E2E_DATA_FOLDER/svrcfg_skirmish.ini" || e2e_fail "the file changed"
e2e_pass
e2e_report
