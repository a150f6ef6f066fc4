#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of finding the game past a registry key that outlived its install: ~/.wine
# still names the game's folder, which is gone, and the game now lies in the Proton prefix of
# Steam installed from Flatpak. Corvane opens its main window on that game's settings file
# without asking where the game is.
#   test-stale-key.sh <corvane executable> <close-window helper> <fixture folder>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
e2e_begin "$0" "$@"

home=$E2E_SCRATCH/home
e2e_make_home "$home" win64
rm -r "$home/.wine/drive_c/Games"  # the earlier install is gone; its key stays
e2e_make_prefix \
  "$home/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/2229890/pfx" win64
e2e_add_files "$E2E_DATA_FOLDER" C\&C_Field.mix C\&C_Islands.mix C\&C_Under.mix
cp "$E2E_FOLDER/svrcfg_skirmish.ini" "$E2E_DATA_FOLDER/svrcfg_skirmish.ini"

e2e_start_corvane "$home"
e2e_expect_copy 45 "txtTime holds the TimeLimitMinutes of the game in Steam's Flatpak" ctrl+a

e2e_close_corvane
e2e_report
