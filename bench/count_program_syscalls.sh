#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Counts the system calls of Corvane's start-up and of one Save on the settings file and the
# Data folder, under strace, and fails when a count is over its goal. startup_probe runs
# start-up as main.cpp does (offscreen) in a generated home: one Wine prefix whose game's Data
# folder holds 2,000 .mix files (1,985 practice maps and the 15 mission files) and a settings
# file with a rotation of 99. Goals: start-up opens the settings file once and reads it in at
# most 2 calls (the bytes, then the end) and writes nothing; a Save (as the button does it, the
# watch's response to its rename included) opens and reads it the same way,
# writes one temporary file, flushes it (fsync) before it renames it over the file once, then
# flushes the Data folder so that the rename lasts; each run lists the Data folder once (one
# open of the folder that is then read with getdents64).
# Usage: bench/count_program_syscalls.sh [path of startup_probe]
#        (default: build/default/bench/startup_probe)
# Exit status: 0 when every count is within its goal, 1 when one is over (or start-up failed),
# 77 when strace is missing (CTest's skip code), 2 when the probe is missing.
set -euo pipefail
probe=${1:-build/default/bench/startup_probe}
[ -x "$probe" ] || { echo "no probe at $probe (build the startup_probe target)" >&2; exit 2; }
command -v strace >/dev/null || { echo "strace is needed (apt-get install strace)" >&2; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home=$work/home
"$probe" --make-home "$home" 1985 99
# A player's settings file was last written long before Corvane starts; one written within the
# last seconds is read again by a check, as its version cannot be told by its stamp.
touch -d '1 hour ago' "$home/.wine/drive_c/Westwood/Renegade/Data/svrcfg_skirmish.ini"
data=$home/.wine/drive_c/Westwood/Renegade/Data
file=$data/svrcfg_skirmish.ini
temporary_prefix=$data/.svrcfg_skirmish.ini.corvane-

trace() {  # trace <name> [probe option]: one run of the probe, traced into $work/<name>.trace
  local name=$1
  shift
  # One file per thread, so that no call is split by another thread's; the main thread's file
  # (the one that starts with execve) first.
  mkdir "$work/$name.threads"
  # LeakSanitizer cannot stop a traced process's threads: no leak check in a sanitizer build.
  HOME=$home QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
    timeout 120 strace -ff -qq -y -e trace=file,read,write,getdents64,fsync,fdatasync -o "$work/$name.threads/thread" \
    "$probe" "$@" 2>"$work/$name.stderr" || {
    echo "startup_probe $* failed:" >&2
    cat "$work/$name.stderr" >&2
    exit 1
  }
  local main thread
  main=$(grep -l '^execve(' "$work/$name.threads"/thread.*)
  cp "$main" "$work/$name.main-thread"
  cp "$main" "$work/$name.trace"
  for thread in "$work/$name.threads"/thread.*; do
    if [ "$thread" != "$main" ]; then cat "$thread" >>"$work/$name.trace"; fi
  done
}
# The save's part of a run: the main thread's calls after the probe's "saving" line, the
# watches' response to the save's rename included.
save_part() {
  awk '/^write\(2<[^>]*>, "saving\\n"/ { found = 1; next } found' "$work/$1.main-thread"
}
# The run up to the end of the save, before the watches respond: the other threads' calls and
# the main thread's up to the probe's "saved" line.
up_to_saved() {
  awk '/^write\(2<[^>]*>, "saved\\n"/ { exit } { print }' "$work/$1.main-thread"
  for thread in "$work/$1.threads"/thread.*; do
    grep -q '^execve(' "$thread" || cat "$thread"
  done
}
# The watches' response: the main thread's calls after the probe's "saved" line.
after_saved() {
  awk '/^write\(2<[^>]*>, "saved\\n"/ { found = 1; next } found' "$work/$1.main-thread"
}
count() {  # count <regex> < trace: calls matching the regex
  grep -cE "^$1" || true
}
# Listings of the Data folder: opens of it with O_DIRECTORY whose descriptor is then read with
# getdents64 (an open for the folder's fsync after a save is not a listing). The threads' calls
# are not in time order and descriptor numbers are reused, so a read counts only when the trace
# names the Data folder as what the descriptor is open on.
listings() {
  awk -v folder="$data" '
    /^openat\(/ && (index($0, "\"" folder "\"") || index($0, "\"" folder "/\"")) &&
    /O_DIRECTORY/ && / = [0-9]+</ {
      fd = $0; sub(/.* = /, "", fd); sub(/<.*/, "", fd); opened[fd] = 1; next }
    /^getdents64\(/ && index($0, "<" folder ">") {
      fd = $0; sub(/^getdents64\(/, "", fd); sub(/<.*/, "", fd)
      if (opened[fd]) { ++listed; opened[fd] = 0 } }
    END { print listed + 0 }'
}

failed=0
check() {  # check <what> <count> <most> [<fewest>]
  local verdict=ok goal="at most $3"
  if (($2 > $3)); then verdict=OVER; failed=1; fi
  if (($# == 4)); then
    goal="$4 to $3"
    if (($4 == $3)); then goal="exactly $3"; fi
    if (($2 < $4)); then verdict=UNDER; failed=1; fi
  fi
  printf '%-66s %5d  (goal: %s)  %s\n' "$1" "$2" "$goal" "$verdict"
}
report() {  # report <what> <count>: a count without a goal
  printf '%-66s %5d\n' "$1" "$2"
}

trace startup
trace save --save
grep -q '^saved$' "$work/save.stderr" || { echo "the probe did not save" >&2; exit 1; }

opens="openat\(AT_FDCWD[^,]*, \"$file\""
check "start-up: opens of the settings file" "$(count "$opens" <"$work/startup.trace")" 1 1
check "start-up: reads of the settings file" \
  "$(count "read\([0-9]+<$file>" <"$work/startup.trace")" 2 1
check "start-up: writes and renames in the Data folder" "$(($(
  count "write\([0-9]+<$data/" <"$work/startup.trace") + $(
  count "rename(at2?)?\(.*\"$data/" <"$work/startup.trace")))" 0
check "start-up: listings of the Data folder" "$(listings <"$work/startup.trace")" 1 1
report "start-up: getdents64 calls on the Data folder" \
  "$(count "getdents64\([0-9]+<$data>" <"$work/startup.trace")"

save_part save >"$work/save-part.trace"
check "save, the watch's response included: opens of the settings file" \
  "$(count "$opens" <"$work/save-part.trace")" 1 1
check "save: reads of the settings file" \
  "$(count "read\([0-9]+<$file>" <"$work/save-part.trace")" 2 1
check "save: writes to the settings file itself" \
  "$(count "write\([0-9]+<$file>" <"$work/save-part.trace")" 0
check "save: temporary files created" "$(count \
  "openat\(AT_FDCWD[^,]*, \"${temporary_prefix}[0-9]+-[A-Za-z0-9]{6}\", [^)]*O_CREAT" \
  <"$work/save-part.trace")" 1 1
report "save: write calls to the temporary file" \
  "$(count "write\([0-9]+<$temporary_prefix" <"$work/save-part.trace")"
check "save: renames over the settings file" \
  "$(count "rename(at2?)?\(.*\"${temporary_prefix}[^\"]*\".*\"$file\"" \
    <"$work/save-part.trace")" 1 1
check "save: fsync of the temporary file before the rename" "$(awk -v prefix="$temporary_prefix" '
  /^f(data)?sync\(/ && index($0, "<" prefix) { synced = 1 }
  /^rename/ && index($0, "\"" prefix) { print synced + 0; exit }' "$work/save-part.trace")" 1 1
check "save: fsync of the Data folder after the rename" "$(awk -v folder="$data" '
  /^rename/ && index($0, "\"" folder "/") { renamed = 1 }
  renamed && /^f(data)?sync\(/ && index($0, "<" folder ">") { ++synced }
  END { print synced + 0 }' "$work/save-part.trace")" 1 1
check "start-up and save: listings of the Data folder" "$(up_to_saved save | listings)" 1 1
report "after the save: listings of the Data folder by its watch" "$(after_saved save | listings)"
exit "$failed"
