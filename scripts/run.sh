#!/usr/bin/env bash
# Builds Corvane (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target corvane
exec build/default/corvane "$@"
