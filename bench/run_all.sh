#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark of bench/README.md: configures and builds the benchmark targets (release
# with debug information), then runs the Google Benchmark programs, both system-call counts, the
# start-up comparison, the peak-memory comparison and the soak and scale tests, one after the
# other, printing as they go.
# A part that fails does not stop the others.
# Usage: bench/run_all.sh [build folder]   (default: build/default, the `default` preset's)
# Exit status: 0 when every part succeeded, 1 otherwise.
set -uo pipefail
cd "$(dirname "$(realpath "$0")")/.." || exit 1
build=${1:-build/default}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_BENCHMARKS=ON \
  >/dev/null || exit 1
cmake --build "$build" --target ini_bench registry_bench hostile_bench window_bench \
  startup_probe minimal_window plain_form reliability_soak || exit 1

status=0
run() {  # run <command...>: one part, its failure noted
  echo "=== $*"
  "$@" || { echo "=== failed: $*"; status=1; }
}
aggregates=(--benchmark_report_aggregates_only=true)
run "$build/bench/reliability_soak"
run "$build/bench/ini_bench" --benchmark_repetitions=5 "${aggregates[@]}"
run bench/count_file_syscalls.sh "$build/bench/ini_bench"
run "$build/bench/registry_bench" --benchmark_repetitions=5 "${aggregates[@]}"
run "$build/bench/hostile_bench" --benchmark_repetitions=3 "${aggregates[@]}"
run "$build/bench/window_bench" --benchmark_repetitions=5 "${aggregates[@]}"
for _ in 1 2 3 4 5; do run "$build/bench/window_bench" --first-start-up; done
run bench/count_program_syscalls.sh "$build/bench/startup_probe"
run bench/compare_startup.sh "$build" 30
run bench/measure_memory.sh "$build" 5
exit "$status"
