#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Corvane and runs the whole test suite, installing what is missing: first the normal
# build, then the same suite under the address and undefined-behaviour sanitizers, then Corvane
# built for Windows (MinGW-w64), its tests and its installer run under Wine. The Windows build
# needs Qt for Windows, which scripts/qt-for-windows.sh builds once per machine (about 35 minutes
# the first time).
# CORVANE_PRESETS="default" limits the run to the presets named.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
for preset in ${CORVANE_PRESETS:-default asan windows}; do
  echo "=== ${preset}"
  [ "$preset" = windows ] && scripts/qt-for-windows.sh >/dev/null
  cmake --preset "$preset" -DCORVANE_WERROR=$werror >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done
