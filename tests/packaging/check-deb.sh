#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the .deb of a built tree and checks it as a distribution would: what it installs, its
# metadata against lintian, appstreamcli and desktop-file-validate, the source tree against
# `reuse lint`, that the installed program starts and shows its window, and that the cache
# variables of the addresses reach every file that names them:
#   check-deb.sh <cpack> <cmake> <build folder> <source folder>
# Exits 0 when every check passes, 1 at the first failure (with the reason on stderr), 77
# (ctest's SKIP) when a tool is missing (scripts/deps.sh installs them all).
set -euo pipefail
cpack=$1
cmake=$2
build=$3
source=$4

for tool in lintian reuse appstreamcli desktop-file-validate dpkg-shlibdeps Xvfb xauth mcookie \
            xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
    exit 77
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
checks=0
pass() { checks=$((checks + 1)); }

if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack did not make the package"
fi
shopt -s nullglob
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one .deb, found ${#debs[@]}"
deb=${debs[0]}
pass

# The addresses as this build was configured with them.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
home_url=$(cached CORVANE_HOME_URL)
mail_address=$(cached CORVANE_MAIL_ADDRESS)
[ -n "$home_url" ] && [ -n "$mail_address" ] ||
  fail "an address is missing from $build/CMakeCache.txt"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = corvane ] || fail "package name is '$(field Package)'"
version=$(field Version)  # the project's; the changelog and the release list must name it
[ "$(field Section)" = utils ] || fail "section is '$(field Section)': a settings editor is no game"
[ "$(field Priority)" = optional ] || fail "priority is '$(field Priority)'"
[ "$(field Maintainer)" = "The Corvane developers <$mail_address>" ] ||
  fail "maintainer is '$(field Maintainer)', not the mail address CORVANE_MAIL_ADDRESS"
[ "$(field Homepage)" = "$home_url" ] ||
  fail "homepage is '$(field Homepage)', not CORVANE_HOME_URL"
pass

root=$scratch/root
dpkg-deb -x "$deb" "$root"

[ -x "$root/usr/bin/corvane" ] || fail "usr/bin/corvane is missing or not executable"
pass

# Everything lies under /usr/bin and /usr/share: no headers, static libraries or /usr/local.
stray=$(cd "$root" && find . -type f ! -path './usr/bin/*' ! -path './usr/share/*')
[ -z "$stray" ] || fail "files outside usr/bin and usr/share: $stray"
pass

desktops=("$root"/usr/share/applications/*.desktop)
[ ${#desktops[@]} -eq 1 ] || fail "expected one desktop entry, found ${#desktops[@]}"
desktop=${desktops[0]}
desktop_id=$(basename "$desktop")
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Name)" = Corvane ] || fail "desktop entry Name is '$(entry Name)'"
[ -n "$(entry GenericName)" ] || fail "desktop entry has no GenericName"
[ -n "$(entry Comment)" ] || fail "desktop entry has no Comment"
[ "$(entry Categories)" = "Game;Utility;" ] || fail "desktop entry Categories is '$(entry Categories)'"
[ "$(entry Icon)" = corvane ] || fail "desktop entry Icon is '$(entry Icon)'"
exec_name=$(entry Exec | cut -d' ' -f1)
[ -x "$root/usr/bin/$exec_name" ] || fail "desktop entry runs '$exec_name', which is not in usr/bin"
pass

icons=$root/usr/share/icons/hicolor
grep -q '<svg' "$icons/scalable/apps/corvane.svg" || fail "scalable icon missing"
png_size() {  # width and height from a PNG file's header
  od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'
}
for size in 16 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/corvane.png
  [ -f "$png" ] || fail "icon ${size}x${size} missing"
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
  [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
done
pass

metainfos=("$root"/usr/share/metainfo/*.metainfo.xml)
[ ${#metainfos[@]} -eq 1 ] || fail "expected one metainfo file, found ${#metainfos[@]}"
metainfo=${metainfos[0]}
grep -q "<launchable type=\"desktop-id\">$desktop_id</launchable>" "$metainfo" \
  || fail "metainfo does not launch $desktop_id"
grep -q "<id>${desktop_id%.desktop}</id>" "$metainfo" || fail "metainfo id does not match $desktop_id"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$metainfo" ||
  fail "metainfo lists no dated release $version"
binary=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo")
[ -x "$root/usr/bin/$binary" ] || fail "metainfo provides the binary '$binary', not in usr/bin"
grep -q "<url type=\"homepage\">$home_url</url>" "$metainfo" ||
  fail "metainfo's home page is not CORVANE_HOME_URL"
pass

# The dependencies are those dpkg-shlibdeps works out from the installed executable.
mkdir -p "$scratch/shlibs/debian"
: >"$scratch/shlibs/debian/control"
expected_depends=$(cd "$scratch/shlibs" && dpkg-shlibdeps -O "$root/usr/bin/corvane" 2>/dev/null |
                   sed -n 's/^shlibs:Depends=//p')
[[ "$expected_depends" == *libqt6widgets6* ]] || fail "dpkg-shlibdeps found '$expected_depends'"
[ "$(field Depends)" = "$expected_depends" ] ||
  fail "Depends is '$(field Depends)', dpkg-shlibdeps finds '$expected_depends'"
pass

# The documents Debian wants of every package: the copyright file in the machine-readable
# format, the changelog starting with this version, and the manual page.
doc=$root/usr/share/doc/corvane
head -n 1 "$doc/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "usr/share/doc/corvane/copyright is not in the machine-readable format"
grep -qx "Source: $home_url" "$doc/copyright" || fail "copyright's Source is not CORVANE_HOME_URL"
changelog_version=$(gzip -dc "$doc/changelog.gz" | sed -n '1s/^corvane (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] ||
  fail "changelog.gz starts with version '$changelog_version', not $version"
gzip -dc "$root/usr/share/man/man1/corvane.1.gz" | grep -q '^\.TH CORVANE 1 ' ||
  fail "no manual page corvane(1) in usr/share/man/man1"
pass

# lintian: no error and no warning (its informational tags may stay).
lintian --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || :
if grep -q '^[EW]: ' "$scratch/lintian.log"; then
  cat "$scratch/lintian.log" >&2
  fail "lintian reports errors or warnings"
fi
pass

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop_id"
pass
# Pedantic hints may stay; any other issue fails.
appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli rejects the metainfo"
pass

# Every file of the source tree has its copyright and licence. reuse looks at a copy without the
# files .gitignore names (the build folders among them): the source need not be a git work tree.
sed 's:^/::; s:/$::' "$source/.gitignore" >"$scratch/ignored"
echo .git >>"$scratch/ignored"
mkdir "$scratch/source"
tar -C "$source" --exclude-from="$scratch/ignored" -cf - . | tar -C "$scratch/source" -xf -
if ! reuse --root "$scratch/source" lint >"$scratch/reuse.log" 2>&1; then
  cat "$scratch/reuse.log" >&2
  fail "reuse lint finds files without copyright or licence"
fi
pass

# The installed program starts, with the libraries of the system, and shows its main window
# on a game found through a Wine prefix.
prefix=$scratch/prefix
mkdir -p "$prefix/drive_c/Games/Renegade/Data" "$prefix/dosdevices"
ln -s ../drive_c "$prefix/dosdevices/c:"
: >"$prefix/drive_c/Games/Renegade/Renegade.exe"
printf '%s\n' 'WINE REGISTRY Version 2' ';; All keys relative to REGISTRY\\Machine' '' \
  '#arch=win32' '' '[Software\\Westwood\\Renegade] 1700000000' '#time=1da1b2c3d4e5f61' \
  '"InstallPath"="C:\\Games\\Renegade\\Renegade.exe"' >"$prefix/system.reg"
mkdir -p "$scratch/home"
mkdir -m 700 "$scratch/runtime"
show_window() {
  env -i PATH="$PATH" HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime" \
    WINEPREFIX="$prefix" DISPLAY="$DISPLAY" XAUTHORITY="$XAUTHORITY" QT_QPA_PLATFORM=xcb \
    "$root/usr/bin/corvane" >"$scratch/corvane.log" 2>&1 &
  local program=$! status=0
  timeout 30 xdotool search --sync --onlyvisible --name 'Skirmish Setup' >/dev/null || status=$?
  kill "$program" 2>/dev/null || :
  wait "$program" 2>/dev/null || :
  return "$status"
}
export -f show_window
export scratch prefix root
if ! "$source/scripts/with-xvfb.sh" bash -c show_window; then
  cat "$scratch/corvane.log" >&2
  fail "the installed corvane did not show its main window within 30 seconds"
fi
pass

# One setting of each address changes every file that names it: configured afresh with other
# addresses, every generated file that names one holds the new one, and none keeps a default.
other_home=https://corvane.example.org/home
other_mail=packager@corvane.example.org
other_updates=https://corvane.example.org/releases
other_ai_maps=https://corvane.example.org/maps
configured=$scratch/configured
if ! "$cmake" -S "$source" -B "$configured" -G Ninja -DCORVANE_TESTS=OFF \
       -DCORVANE_HOME_URL="$other_home" -DCORVANE_MAIL_ADDRESS="$other_mail" \
       -DCORVANE_UPDATES_URL="$other_updates" -DCORVANE_AI_MAPS_URL="$other_ai_maps" \
       >"$scratch/configure.log" 2>&1; then
  cat "$scratch/configure.log" >&2
  fail "the source did not configure with other addresses"
fi
# file, as configured | the addresses it names
named=(
  "CPackConfig.cmake|$other_home $other_mail"
  "packaging/${desktop_id%.desktop}.metainfo.xml|$other_home $other_mail"
  "packaging/copyright|$other_home $other_mail"
  "packaging/corvane.1|$other_home $other_mail"
  "packaging/changelog|$other_mail"
  "src/platform/generated/ProgramInfo.h|$other_home $other_mail $other_updates $other_ai_maps"
)
defaults=("$home_url" "$mail_address" "$(cached CORVANE_UPDATES_URL)" "$(cached CORVANE_AI_MAPS_URL)")
for row in "${named[@]}"; do
  IFS='|' read -r file addresses <<<"$row"
  [ -f "$configured/$file" ] || fail "configuring made no $file"
  for address in $addresses; do
    grep -qF "$address" "$configured/$file" || fail "$file does not take $address from the cache"
  done
  for address in "${defaults[@]}"; do
    ! grep -qF "$address" "$configured/$file" || fail "$file keeps $address, set otherwise"
  done
done
pass

echo "$checks passed, 0 failed"
