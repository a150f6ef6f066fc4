#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of trying Corvane on the sample game folder, as examples/README.md tells: with
# no game in any Wine prefix Corvane asks, Enter answers Yes, and the folder picked in the
# "Renegade Location" picker is loaded. The sample folder must be left unchanged.
#   test-example-folder.sh <corvane executable> <close-window helper> <examples/Renegade folder>
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/e2e-session.sh"
e2e_begin "$0" "$@"
example=$E2E_FOLDER
[ -f "$example/Data/svrcfg_skirmish.ini" ] || e2e_fail "no sample settings file in $example/Data"
before=$(cd "$example" && find . -printf '%p %s %T@\n' | sort)

# What the sample loads: the stop, reached by Tab presses from the previous one | keys pressed
# there | the stop's kind | what it copies | what the row shows.
loaded=(
  "0||field|30|txtTime holds the sample's TimeLimitMinutes"
  "7||field|10000|txtCredits holds the sample's StartingCredits"
  "4||list|C&C_Under.mix|the rotation starts with MapName01"
  "0|ctrl+End|list|C&C_Walls_Flying.mix|the rotation ends with MapName04"
  "2||list|C&C_Arid.mix|the available maps start with the first map file"
  "0|ctrl+End|list|C&C_Winter_Field.mix|the available maps end with a map: no mission file is listed"
)

home=$E2E_SCRATCH/home  # no Wine prefix: the game is not found
mkdir -p "$home"
e2e_launch_corvane "$home"
e2e_wait_for_window '^Renegade$'
e2e_step "Enter answers Yes to the question" Return
e2e_wait_for_window '^Renegade Location$'
e2e_pass
e2e_step "the sample folder is typed into the picker and chosen" ctrl+a
xdotool type --delay 20 "$example"
e2e_keys Return
e2e_wait_for_main_window
e2e_pass

for stop in "${loaded[@]}"; do
  IFS='|' read -r tabs keys kind expected what <<<"$stop"
  E2E_STEP="$tabs Tab and '$keys' to reach: $what"
  for ((i = 0; i < tabs; i++)); do e2e_keys Tab; done
  # shellcheck disable=SC2086  # the keys are separate words
  [ -z "$keys" ] || e2e_keys $keys
  select_keys=()
  [ "$kind" = list ] || select_keys=(ctrl+a)
  e2e_expect_copy "$expected" "$what" "${select_keys[@]}"
done

e2e_close_corvane
after=$(cd "$example" && find . -printf '%p %s %T@\n' | sort)
[ "$before" = "$after" ] || e2e_fail "the sample folder changed although nothing was saved"
e2e_pass
e2e_report
