#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Counts the system calls that one load and one save of a settings file make on that file, under
# strace, and fails when a count is over its goal: a load opens the file once and reads it in at
# most 2 calls (the bytes, then the end); a save does the same load, writes one temporary file,
# renames it once and never writes the file itself.
# Usage: bench/count_file_syscalls.sh [path of ini_bench]  (default: build/default/bench/ini_bench)
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build/default/bench/ini_bench}
command -v strace >/dev/null || { echo "strace is needed (apt-get install strace)" >&2; exit 2; }
[ -x "$bench" ] || { echo "no benchmark binary at $bench (build the ini_bench target)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/svrcfg_skirmish.ini
temporary_prefix=$work/.svrcfg_skirmish.ini.corvane-
"$bench" --write-sample "$file"

trace() {  # trace <mode>: one run of the benchmark binary in that mode, traced
  strace -f -qq -y -e trace=openat,read,write,rename,renameat,renameat2 -o "$work/$1.trace" \
    "$bench" "--once-$1" "$file"
}
count() {  # count <mode> <regex>: traced calls matching the regex (after an optional pid)
  grep -cE "^([0-9]+ +)?$2" "$work/$1.trace" || true
}

failed=0
check() {  # check <what> <count> <most>
  local verdict=ok
  if (($2 > $3)); then verdict=OVER; failed=1; fi
  printf '%-44s %4d  (goal: at most %d)  %s\n' "$1" "$2" "$3" "$verdict"
}
at_least() {  # at_least <what> <count> <fewest>
  local verdict=ok
  if (($2 < $3)); then verdict=UNDER; failed=1; fi
  printf '%-44s %4d  (goal: at least %d)  %s\n' "$1" "$2" "$3" "$verdict"
}

trace load
check "load: opens of the file" "$(count load "openat\(.*\"$file\"")" 1
check "load: reads of the file" "$(count load "read\([0-9]+<$file>")" 2
check "load: writes and renames" "$(( $(count load "write\([0-9]+<$work/") + \
  $(count load "rename(at2?)?\(") ))" 0

trace save
check "save: opens of the file" "$(count save "openat\(.*\"$file\"")" 1
check "save: reads of the file" "$(count save "read\([0-9]+<$file>")" 2
check "save: writes to the file itself" "$(count save "write\([0-9]+<$file>")" 0
temporaries=$(count save "openat\(.*\"${temporary_prefix}[A-Za-z0-9]{6}\".*O_CREAT")
check "save: temporary files created" "$temporaries" 1
at_least "save: temporary files created" "$temporaries" 1
printf '%-44s %4d\n' "save: write calls to the temporary file" \
  "$(count save "write\([0-9]+<$temporary_prefix")"
renames=$(count save "rename(at2?)?\(.*\"$temporary_prefix.*\"$file\"")
check "save: renames over the file" "$renames" 1
at_least "save: renames over the file" "$renames" 1
exit "$failed"
