#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing Corvane needs on Debian 12, when it is missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgtest-dev libbenchmark-dev
          xvfb xauth fonts-dejavu-core dpkg-dev desktop-file-utils appstream reuse lintian
          libyaml-cpp-dev strace clang libclang-rt-14-dev xdotool xclip libx11-dev
          g++-mingw-w64-x86-64-posix wine64 fonts-wine fonts-liberation nsis at-spi2-core dbus python3-gi gir1.2-atspi-2.0 "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
