#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end test of Corvane for Windows under Wine, in a Wine prefix made afresh in the scratch
# folder: the installer runs with /S; a copy of the sample game is put on drive C: with its
# InstallPath in the 32-bit registry view, as the game's installer leaves it; the installed
# Corvane.exe starts again and again (each start must show the window and end cleanly), then
# finds the game, takes a new time limit typed on the keyboard and saves it after the question,
# every other byte of the file as it was; the uninstaller with /S then leaves no file, shortcut
# or registry entry behind.
#   test-installer.sh <Corvane-<version>-setup.exe> <sample game folder> <scratch folder>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR
source "$here/../e2e/e2e-session.sh"
E2E_TIMEOUT=60  # Wine starts programs slowly, the first time above all
starts=8        # how often Corvane starts and closes before the edit

for tool in Xvfb xauth mcookie xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit "$E2E_SKIP"; }
done
[ $# -eq 3 ] || { echo "usage: $0 <setup.exe> <sample game folder> <scratch folder>" >&2; exit 2; }
setup=$1
sample=$2
scratch=$3
[ -f "$setup" ] || e2e_fail "no installer at $setup"

wine_run="$here/../../scripts/wine-run.sh"
export CORVANE_WINEPREFIX=$scratch/prefix
prefix=$CORVANE_WINEPREFIX
rm -rf "$scratch"
mkdir -p "$scratch"
E2E_PROGRAM_PID=
E2E_CHECKS=0
trap 'e2e_end; "$wine_run" --end' EXIT

wine_reg() { "$wine_run" reg "$@" 2>/dev/null | tr -d '\r'; }
files_of_drive_c() {
  (cd "$prefix/drive_c" && find . -path ./windows -prune -o -path ./users -prune -o -print | sort)
}

"$wine_run" --init --display
# shellcheck source=/dev/null
source "$prefix/x-server.env"  # the prefix's X server, for xdotool
before=$(files_of_drive_c)

# --- install ---------------------------------------------------------------------------------
"$wine_run" "$setup" /S
"$wine_run" --wait
program_folder="$prefix/drive_c/Program Files/Corvane"
[ -f "$program_folder/Corvane.exe" ] || e2e_fail "the installer left no Corvane.exe in Program Files"
[ -f "$program_folder/Uninstall.exe" ] || e2e_fail "the installer left no uninstaller"
shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane.lnk"
[ -f "$shortcut" ] || e2e_fail "no Start-menu shortcut at $shortcut"
e2e_pass
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane'
entry=$(wine_reg query "$uninstall_key")
for value in DisplayName DisplayVersion Publisher DisplayIcon UninstallString EstimatedSize; do
  grep -q "^ *$value " <<<"$entry" || e2e_fail "the installed programs' entry lacks $value: $entry"
done
e2e_pass

# --- the game, as its installer leaves it -----------------------------------------------------
game="$prefix/drive_c/Games/Renegade"
mkdir -p "$game"
cp -r "$sample/." "$game/"
: >"$game/Renegade.exe"
wine_reg add 'HKLM\Software\Westwood\Renegade' /v InstallPath /d 'C:\Games\Renegade\Renegade.exe' \
  /f /reg:32 >/dev/null
settings=$(find "$game" -maxdepth 2 -iname svrcfg_skirmish.ini | head -n 1)
cp "$settings" "$scratch/original.ini"

# --- start and close again and again: a first start must never crash -------------------------
start_corvane() {
  E2E_PROGRAM_LOG=$scratch/corvane.log
  (cd "$scratch" && exec "$wine_run" --display 'C:\Program Files\Corvane\Corvane.exe') \
    >"$E2E_PROGRAM_LOG" 2>&1 &
  E2E_PROGRAM_PID=$!
  e2e_wait_for_main_window
}
close_corvane() {
  e2e_step "Alt+F4 closes the window" alt+F4
  e2e_wait_until "Corvane ends after Alt+F4" e2e_program_ended
  local status=0
  wait "$E2E_PROGRAM_PID" || status=$?
  E2E_PROGRAM_PID=
  [ "$status" -eq 0 ] || e2e_fail "Corvane ended with exit status $status"
}
for ((start = 1; start <= starts; start++)); do
  start_corvane
  close_corvane
done
e2e_pass

# --- a keyboard edit, saved ---------------------------------------------------------------------
start_corvane
e2e_step "the time limit, focused and selected at start, becomes 45" 4 5
e2e_step "Save, the stop before the time limit, is pressed" shift+Tab space
e2e_wait_for_window '^Save$'
e2e_step "Enter answers Yes, the default" Return
sed 's/^TimeLimitMinutes=30\r$/TimeLimitMinutes=45\r/' "$scratch/original.ini" >"$scratch/expected.ini"
saved() { ! cmp -s "$scratch/original.ini" "$settings"; }
e2e_wait_until "the settings file changes" saved
cmp -s "$scratch/expected.ini" "$settings" ||
  e2e_fail "the saved file differs: $(diff <(cat -A "$scratch/expected.ini") <(cat -A "$settings"))"
e2e_pass
close_corvane

# --- uninstall ----------------------------------------------------------------------------------
"$wine_run" 'C:\Program Files\Corvane\Uninstall.exe' /S
"$wine_run" --wait  # the uninstaller goes on from a copy of itself
rm -rf "$prefix/drive_c/Games"
after=$(files_of_drive_c)
[ "$before" = "$after" ] ||
  e2e_fail "the uninstaller left files on C: $(diff <(echo "$before") <(echo "$after"))"
[ ! -e "$shortcut" ] || e2e_fail "the uninstaller left the Start-menu shortcut"
if wine_reg query "$uninstall_key" >/dev/null; then
  e2e_fail "the uninstaller left the installed programs' entry"
fi
e2e_pass
e2e_report
