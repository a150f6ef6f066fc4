#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of what a screen reader reads: Corvane's main window through the desktop's
# accessibility bus (AT-SPI, with a session bus of its own), as a screen reader gets it. The
# lists and fields carry names, the radar options are radio buttons in a named group, the note's
# link is a link with a press action, and nothing hidden is listed. The tree is printed.
#   test-accessible-tree.sh <corvane executable> <close-window helper> <fixture folder>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
e2e_accessibility_tools "$@"
e2e_begin "$0" "$@"
e2e_accessibility_bus

e2e_make_home "$E2E_SCRATCH/home" win64
e2e_add_files "$E2E_DATA_FOLDER" C\&C_Field.mix C\&C_Islands.mix
e2e_launch_corvane "$E2E_SCRATCH/home" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_wait_for_main_window

tree=$E2E_SCRATCH/tree.txt
"$E2E_PYTHON" "$E2E_HERE/accessible-tree.py" Corvane 10 >"$tree" || e2e_fail "the tree could not be read"
cat "$tree"
count() { grep -cE "$1" "$tree" || :; }
# role|name|states|actions, indented by depth
[ "$(count '^ *list\|[^|]+\|')" -eq 2 ] || e2e_fail "not both lists are named"
[ "$(count '^ *text\|\|')" -eq 0 ] || e2e_fail "an unnamed text field is listed"
[ "$(count '^ *text\|[^|]+\|.*showing')" -ge 2 ] || e2e_fail "the two number fields are not named"
[ "$(count '^ *radio button\|[^|]+\|')" -eq 3 ] || e2e_fail "the radar options are not radio buttons"
grep -B1 -E '^ +radio button\|' "$tree" | grep -qE '^ *(grouping|panel)\|[^|]+\|' ||
  e2e_fail "the radar options are not in a named group"
grep -qE '^ *link\|[^|]+\|.*\|.*[Pp]ress' "$tree" || e2e_fail "the note's link is not a pressable link"
[ "$(grep -cvE '\|[^|]*showing' "$tree" || :)" -le 1 ] || e2e_fail "hidden objects are listed"
e2e_pass

e2e_close_corvane
e2e_report
