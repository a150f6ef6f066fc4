#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Qt for 64-bit Windows (MinGW-w64) once per machine, for the Windows build of Corvane:
#   qt-for-windows.sh           builds it when missing, then prints the folder it is installed in
#   qt-for-windows.sh --print   prints that folder without building (it may not exist yet)
#
# Qt Base is Debian's own source package qt6-base, of the same version as the host Qt whose tools
# (moc, rcc, uic) the cross build runs; Qt SVG comes from ../shared/qt/ or $CORVANE_QTSVG_SOURCE
# (qtsvg-everywhere-src-<version>.tar.xz, as published at https://download.qt.io/archive/qt/ or
# made with `git archive` from the release tag of https://code.qt.io/qt/qtsvg.git), checked
# against its SHA-256. The result goes into
#   ${XDG_CACHE_HOME:-$HOME/.cache}/corvane/qt-<version>-mingw-w64-<script version>
# and is reused by every later build. About 35 minutes on two cores, 1.5 GB of disk while it
# builds, about 80 MB when done.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Raise this whenever the features or the build change, so that caches of the old build are
# not taken for the new one.
script_version=1
qt_version=6.4.2
qtsvg_sha256=b7f5c33044bc14926e9d7f3de46591e84ea943bb937592a5258fdfbd7f392cc6

cache=${XDG_CACHE_HOME:-$HOME/.cache}/corvane
prefix=$cache/qt-$qt_version-mingw-w64-$script_version
if [ "${1:-}" = --print ]; then
  echo "$prefix"
  exit 0
fi
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

step() { echo "[qt-for-windows $(date +%H:%M:%S)] $*" >&2; }
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

step "Qt $qt_version for Windows is not in $prefix yet: building it (about 35 minutes on two cores)"
"$root/scripts/deps.sh" dpkg-dev xz-utils >&2

# The host Qt must be the version cross-built, since the build runs its tools.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
case "$host_version" in
  "$qt_version"+*) ;;
  *) echo "The host Qt is $host_version, not $qt_version: raise qt_version in $0" >&2; exit 2 ;;
esac

qtsvg_tarball=${CORVANE_QTSVG_SOURCE:-$root/../shared/qt/qtsvg-everywhere-src-$qt_version.tar.xz}
[ -f "$qtsvg_tarball" ] || {
  echo "Qt SVG's source is missing: $qtsvg_tarball (set CORVANE_QTSVG_SOURCE to its tarball)" >&2
  exit 2
}
echo "$qtsvg_sha256  $qtsvg_tarball" | sha256sum -c --quiet - >&2 || {
  echo "$qtsvg_tarball is not Qt SVG $qt_version (its SHA-256 differs)" >&2
  exit 2
}

work=$cache/qt-$qt_version-mingw-w64-$script_version.work
rm -rf "$work"
mkdir -p "$work"

# Debian's source of qt6-base, with Debian's patches applied, at the host Qt's exact version.
if ! apt-get source --print-uris "qt6-base=$host_version" >/dev/null 2>&1; then
  step "adding Debian's source archive to apt (deb-src)"
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  $sudo tee /etc/apt/sources.list.d/corvane-deb-src.sources >/dev/null <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  $sudo apt-get update -qq
fi
step "fetching Debian's qt6-base $host_version source (46 MB)"
(cd "$work" && apt-get source -qq "qt6-base=$host_version" >/dev/null)
qtbase_source=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$qtbase_source" ] || { echo "apt-get source left no qt6-base folder in $work" >&2; exit 1; }
step "unpacking Qt SVG"
tar -xJf "$qtsvg_tarball" -C "$work"

# The compiler's toolchain file lives in the installed Qt: Qt's own qt.toolchain.cmake loads it
# by this path.
rm -rf "$prefix"
mkdir -p "$prefix"
cat >"$prefix/mingw-w64-x86_64.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

# Only what Corvane uses: Core, Gui, Widgets, Test and SVG, the windows platform plugin, the
# Windows styles and the ICO image plugin.
features=(
  -DFEATURE_network=OFF        # Corvane opens its links through the shell, never the network
  -DFEATURE_sql=OFF            # no database
  -DFEATURE_dbus=OFF           # no D-Bus on Windows
  -DFEATURE_printsupport=OFF   # nothing is printed
  -DFEATURE_concurrent=OFF     # no Qt Concurrent
  -DFEATURE_xml=OFF            # Qt SVG reads with QXmlStreamReader of Core, not the Qt XML module
  -DFEATURE_opengl=OFF         # the windows are plain widgets, drawn without OpenGL
  -DFEATURE_dynamicgl=OFF      # stays on with opengl off, and then qwindowswindow.cpp fails
  -DFEATURE_direct2d=OFF       # the direct2d platform plugin is not used
  -DFEATURE_directwrite3=OFF   # stays on with direct2d off, and then qwindows.dll fails to link
  -DFEATURE_tabletevent=OFF    # Debian's source leaves out the wintab headers tablets need
  -DFEATURE_vulkan=OFF         # no Vulkan
  -DFEATURE_jpeg=OFF           # Corvane's pictures are SVG and PNG
  -DFEATURE_gif=OFF            # likewise
  -DFEATURE_sql_sqlite=OFF     # no database
)
common=(
  -G Ninja
  -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64.cmake"
  -DCMAKE_BUILD_TYPE=Release
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DCMAKE_INSTALL_PREFIX="$prefix"
  # No path of this machine in the libraries (Qt's messages name their source files).
  -DCMAKE_C_FLAGS="-ffile-prefix-map=$work=qt"
  -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$work=qt"
)
started=$SECONDS
step "configuring Qt Base (about 2 minutes)"
cmake -S "$qtbase_source" -B "$work/build-qtbase" "${common[@]}" "${features[@]}" \
  >"$work/configure-qtbase.log" 2>&1 || { tail -n 60 "$work/configure-qtbase.log" >&2; exit 1; }
step "building Qt Base (about 30 minutes on two cores; progress below)"
cmake --build "$work/build-qtbase" --parallel "$(nproc)" 2>&1 | while IFS= read -r line; do
  case "$line" in
    \[*/*\]*) count=${line%%]*}; count=${count#[}
      done_=${count%/*}; all=${count#*/}
      if ((all > 0 && done_ % 50 == 0)); then step "Qt Base: $done_ of $all steps"; fi ;;
    FAILED:*|*" error: "*|*": fatal error: "*) echo "$line" >&2 ;;
  esac
done
[ "${PIPESTATUS[0]}" -eq 0 ] || { echo "Qt Base failed to build (see above)" >&2; exit 1; }
cmake --install "$work/build-qtbase" --strip >"$work/install-qtbase.log" 2>&1 ||
  { tail -n 60 "$work/install-qtbase.log" >&2; exit 1; }

step "configuring and building Qt SVG (about a minute)"
cmake -S "$work/qtsvg-everywhere-src-$qt_version" -B "$work/build-qtsvg" "${common[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
  >"$work/configure-qtsvg.log" 2>&1 || { tail -n 60 "$work/configure-qtsvg.log" >&2; exit 1; }
cmake --build "$work/build-qtsvg" --parallel "$(nproc)" >"$work/build-qtsvg.log" 2>&1 ||
  { tail -n 60 "$work/build-qtsvg.log" >&2; exit 1; }
cmake --install "$work/build-qtsvg" --strip >"$work/install-qtsvg.log" 2>&1 ||
  { tail -n 60 "$work/install-qtsvg.log" >&2; exit 1; }

# The MinGW runtime the DLLs need, beside them, so that whatever runs from here finds it.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/bin/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$prefix/bin/"
x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/lib{stdc++-6,gcc_s_seh-1,winpthread-1}.dll

# The licence texts the packages carry beside the program: Qt's own, Debian's summary of every
# part of Qt Base (with the third-party code built into it) and those parts' own licence files,
# and the compiler runtime's (GCC's runtime library exception, MinGW-w64's winpthreads).
licenses=$prefix/licenses
mkdir -p "$licenses/Qt/third-party" "$licenses/MinGW-w64 runtime"
cp "$qtbase_source"/LICENSES/{LGPL-3.0-only,GPL-2.0-only,GPL-3.0-only,Qt-GPL-exception-1.0}.txt \
  "$licenses/Qt/"
cp "$qtbase_source/debian/copyright" "$licenses/Qt/copyright"
for part in blake2 double-conversion easing freetype harfbuzz-ng icc libpng md4c pcre2 rfc6234 \
            sha3 tinycbor zlib; do
  mkdir -p "$licenses/Qt/third-party/$part"
  find "$qtbase_source/src/3rdparty/$part" -maxdepth 1 -type f \
    \( -iname '*licen[cs]e*' -o -iname 'copying*' \) -exec cp {} "$licenses/Qt/third-party/$part/" \;
done
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licenses/MinGW-w64 runtime/GCC-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$licenses/MinGW-w64 runtime/MinGW-w64-copyright.txt"

touch "$prefix/.complete"
rm -rf "$work"
step "Qt $qt_version for Windows built in $(((SECONDS - started) / 60)) minutes: $(du -sh "$prefix" | cut -f1) in $prefix"
echo "$prefix"
