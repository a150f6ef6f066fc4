#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of start-up: Corvane finds the game through a Wine prefix's registry, opens
# its main window with the game's settings file loaded, and the keyboard focus walks the window
# in its order. What each control holds is read back by copying it to the clipboard.
#   test-startup.sh <corvane executable> <close-window helper> <fixture folder>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
e2e_begin "$0" "$@"

# The prefixes start-up must find the game in: arch | what the row shows.
prefixes=(
  "win32|a 32-bit prefix, the game's key under Software"
  "win64|a 64-bit prefix, the game's key under Software\\Wow6432Node"
)

# The focus walk from the control focused at start-up, one row a stop: Tab presses from the
# previous stop | keys pressed there | the stop's kind | what it copies | the stop.
# A text field copies its whole text (Ctrl+A, Ctrl+C), a list its current entry (Ctrl+C).
focus_walk=(
  "0||field|45|txtTime, focused at start-up, holds the file's TimeLimitMinutes"
  "7||field|7500|txtCredits, after the six check boxes, holds StartingCredits"
  "4||list|C&C_Under.mix|lstMaps, after the three radar options, starts with MapName01"
  "0|ctrl+Down|list|C&C_Field.mix|lstMaps' second entry is MapName02"
  "0|ctrl+Down|list|C&C_Islands.mix|lstMaps' third entry is MapName03"
  "0|ctrl+Down|list|C&C_Islands.mix|lstMaps has no fourth entry: MapName00 is not loaded"
  "2||list|C&C_Canyon.mix|lstRenData, after Save As (Add and Remove are disabled), starts with the first map"
  "0|ctrl+End|list|+++ C&C_Under.mix|lstRenData ends with a marked map: no mission file and no .dat is listed"
  "5||field|45|txtTime again, after Load, About, Updates and Save"
)

maps=(C\&C_Canyon.mix C\&C_Field.mix C\&C_Islands.mix C\&C_Under.mix M00_Tutorial.mix M13.mix
      Skirmish00.mix always.dat)

for prefix_row in "${prefixes[@]}"; do
  IFS='|' read -r arch prefix_what <<<"$prefix_row"
  home=$E2E_SCRATCH/home-$arch
  e2e_make_home "$home" "$arch"
  e2e_add_files "$E2E_DATA_FOLDER" "${maps[@]}"
  settings=$E2E_DATA_FOLDER/svrcfg_skirmish.ini
  cp "$E2E_FOLDER/svrcfg_skirmish.ini" "$settings"

  e2e_start_corvane "$home"
  title=$(xdotool getwindowname "$E2E_WINDOW")
  [ "$title" = " Skirmish Setup - C&C Renegade" ] ||
    e2e_fail "$prefix_what: the window is titled '$title'"
  e2e_pass

  for stop in "${focus_walk[@]}"; do
    IFS='|' read -r tabs keys kind expected what <<<"$stop"
    E2E_STEP="$tabs Tab and '$keys' to reach: $what"
    for ((i = 0; i < tabs; i++)); do e2e_keys Tab; done
    # shellcheck disable=SC2086  # the keys are separate words
    [ -z "$keys" ] || e2e_keys $keys
    select_keys=()
    [ "$kind" = list ] || select_keys=(ctrl+a)
    e2e_expect_copy "$expected" "$prefix_what: $what" "${select_keys[@]}"
  done

  e2e_close_corvane
  cmp -s "$E2E_FOLDER/svrcfg_skirmish.ini" "$settings" ||
    e2e_fail "$prefix_what: the settings file changed although nothing was saved"
  e2e_pass
done
e2e_report
