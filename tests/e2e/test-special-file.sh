#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of a game whose settings file is a named pipe that nobody writes to: Corvane
# must not wait for a writer. Its window opens with the default settings, it closes, and the
# pipe is still a pipe.
#   test-special-file.sh <corvane executable> <close-window helper> <fixture folder>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
e2e_begin "$0" "$@"

e2e_make_home "$E2E_SCRATCH/home" win64
e2e_add_files "$E2E_DATA_FOLDER" C\&C_Field.mix C\&C_Islands.mix
settings=$E2E_DATA_FOLDER/svrcfg_skirmish.ini
mkfifo "$settings"

e2e_start_corvane "$E2E_SCRATCH/home"
e2e_expect_copy 30 "txtTime, the default time limit" ctrl+a

e2e_close_corvane
[ -p "$settings" ] || e2e_fail "the named pipe was replaced"
e2e_pass
e2e_report
