#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes Corvane's Windows packages in one command, installing what is missing: Qt for Windows
# when this machine has not built it yet (scripts/qt-for-windows.sh, about 35 minutes once), then
# the program, then
#   build/windows/Corvane-<version>-setup.exe         the installer (NSIS)
#   build/windows/Corvane-<version>-windows-x64.zip   the same files, portable
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/qt-for-windows.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target corvane_windows_packages
ls -l build/windows/Corvane-*-setup.exe build/windows/Corvane-*-windows-x64.zip
