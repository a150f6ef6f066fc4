#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of a settings file that another program rewrites while Corvane's window is
# open, first by renaming a new file over it (as most programs save), then in place (as the game
# does): each time the window, which holds no unsaved edits, shows the new time limit.
#   test-file-changed.sh <corvane executable> <close-window helper> <fixture folder>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
e2e_begin "$0" "$@"

e2e_make_home "$E2E_SCRATCH/home" win64
e2e_add_files "$E2E_DATA_FOLDER" C\&C_Field.mix C\&C_Islands.mix C\&C_Under.mix
settings=$E2E_DATA_FOLDER/svrcfg_skirmish.ini
cp "$E2E_FOLDER/svrcfg_skirmish.ini" "$settings"  # time limit 45

e2e_start_corvane "$E2E_SCRATCH/home"
e2e_expect_copy 45 "txtTime at start" ctrl+a

# Another process, not Corvane, writes the file.
sed 's/^TimeLimitMinutes=45/TimeLimitMinutes=20/' "$settings" >"$settings.new"
mv "$settings.new" "$settings"
e2e_expect_copy 20 "txtTime after a new file was renamed over the settings file" ctrl+a

sed 's/^TimeLimitMinutes=20/TimeLimitMinutes=75/' "$settings" >"$E2E_SCRATCH/rewritten.ini"
cat "$E2E_SCRATCH/rewritten.ini" >"$settings"
e2e_expect_copy 75 "txtTime after the settings file was rewritten in place" ctrl+a

# Nothing was edited in the window: it closes without a question, and the file is the other
# program's.
e2e_close_corvane
cmp -s "$E2E_SCRATCH/rewritten.ini" "$settings" || e2e_fail "the settings file changed"
e2e_pass
e2e_report
