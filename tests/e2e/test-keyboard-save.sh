#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of editing by keyboard alone: Corvane's window is driven with Tab, Space, the
# arrow keys and the mnemonics Alt+R and Alt+A, saved with the Save button and Enter at the
# question, and closed; the settings file must then hold exactly the expected bytes.
#   test-keyboard-save.sh <corvane executable> <close-window helper> <fixture folder>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
e2e_begin "$0" "$@"

e2e_make_home "$E2E_SCRATCH/home" win32
e2e_add_files "$E2E_DATA_FOLDER" C\&C_Canyon.mix C\&C_Field.mix C\&C_Islands.mix C\&C_Under.mix \
  M01.mix Skirmish00.mix
settings=$E2E_DATA_FOLDER/svrcfg_skirmish.ini
cp "$E2E_FOLDER/svrcfg_skirmish.ini" "$settings"
# The file holds time 45, credits 7500, radar 1, repair yes, spawn no, friendly fire no, team
# changing no, base destruction yes, beacon yes, rotation Under, Field, Islands (MapName01..03).

e2e_start_corvane "$E2E_SCRATCH/home"
e2e_step "the time limit becomes 60" ctrl+a 6 0
e2e_expect_copy 60 "txtTime after typing" ctrl+a
e2e_step "Can Repair Buildings is cleared" Tab space
e2e_step "Allow Team Changing is checked, past Spawn Weapons and Friendly Fire" Tab Tab Tab space
e2e_step "Beacon Placement Ends Game is cleared, past Base Destruction Ends Game" Tab Tab space
e2e_step "the starting credits become 2500" Tab ctrl+a 2 5 0 0
e2e_expect_copy 2500 "txtCredits after typing" ctrl+a
e2e_step "the radar option No players are shown is picked" Tab space

# In the rotation, Down selects its second entry, which Alt+R removes.
e2e_step "the rotation gets the focus" Tab Tab Tab
e2e_expect_copy "C&C_Under.mix" "lstMaps, three stops after the first radar option"
e2e_step "the rotation's second entry is selected" Down
e2e_expect_copy "C&C_Field.mix" "lstMaps after Down"
e2e_step "Remove is pressed by its mnemonic" alt+r
e2e_expect_copy_changes_from "C&C_Field.mix" "lstMaps after Alt+R"

# In the available maps (Add, Remove disabled again, then Save As), Down selects the now plain
# C&C_Field.mix, which Alt+A appends to the rotation; its entry takes the mark.
e2e_step "the available maps get the focus" Tab Tab
e2e_expect_copy "C&C_Canyon.mix" "lstRenData, two stops after lstMaps"
e2e_step "the second available map is selected" Down
e2e_expect_copy "C&C_Field.mix" "lstRenData after Down"
e2e_step "Add is pressed by its mnemonic" alt+a
e2e_expect_copy "+++ C&C_Field.mix" "lstRenData after Alt+A"

# Save is the last stop: one more Tab reaches the time limit, Shift+Tab comes back.
e2e_step "the focus goes round past Load, About, Updates and Save" Tab Tab Tab Tab Tab
e2e_expect_copy 60 "txtTime after the last stop" ctrl+a
e2e_step "Save gets the focus and is pressed" shift+Tab space
e2e_wait_for_window '^Save$'
e2e_pass
e2e_step "Enter answers Yes, the default" Return

e2e_settings_changed() { ! cmp -s "$E2E_FOLDER/svrcfg_skirmish.ini" "$settings"; }
e2e_wait_until "the settings file changes" e2e_settings_changed
e2e_close_corvane

if ! cmp -s "$E2E_FOLDER/svrcfg_skirmish.saved.ini" "$settings"; then
  echo "--- expected (<) and saved (>) lines, line ends shown as ^M\$:" >&2
  diff <(cat -A "$E2E_FOLDER/svrcfg_skirmish.saved.ini") <(cat -A "$settings") >&2 || :
  e2e_fail "the saved file differs from svrcfg_skirmish.saved.ini"
fi
e2e_pass
e2e_report
