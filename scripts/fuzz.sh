#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang (build/fuzz) and runs each, one after the other, for
# SECONDS seconds (default 60) from the seeds in fuzz/corpus/<target>. Exits non-zero when a
# target finds a crash, a sanitizer report, a failed check or a hang; the input that did it is
# kept in build/fuzz/findings/<target>/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(ini_engine_fuzzer wine_registry_fuzzer)
build=build/fuzz

scripts/deps.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZERS=ON -DCORVANE_TESTS=OFF -DCORVANE_BENCHMARKS=OFF -DCORVANE_WERROR=ON >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
  echo "=== ${target}: ${seconds} s"
  corpus="$build/corpus/$target"     # grows while the fuzzer runs; the seeds stay as they are
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  log="$build/$target.log"
  if ! "$build/fuzz/$target" "$corpus" "fuzz/corpus/$target" -dict="fuzz/$target.dict" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
      -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1; then
    status=1
    echo "${target}: FOUND A FAULT; the input is in $findings/, the report in $log"
    grep -E "ERROR|check failed|SUMMARY|Test unit written" "$log" | head -20 || true
  fi
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)" "$log" || true
  grep -E "^Done [0-9]+ runs" "$log" || true
done
exit "$status"
