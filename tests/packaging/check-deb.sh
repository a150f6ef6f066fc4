#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the .deb of a built tree and checks that it installs Corvane as a desktop program:
#   check-deb.sh <cpack> <build folder>
# Exits 0 when every check passes, 1 at the first failure (with the reason on stderr).
set -euo pipefail
cpack=$1
build=$2

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

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = corvane ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = 1.0.1 ] || fail "version is '$(field Version)'"
[[ "$(field Maintainer)" == "Corvane developers"* ]] || fail "maintainer is '$(field Maintainer)'"
# The dependencies are worked out from the executable's libraries.
[[ "$(field Depends)" == *libqt6widgets6* ]] || fail "Depends lacks Qt Widgets: '$(field Depends)'"
[[ "$(field Depends)" == *libqt6svg6* ]] || fail "Depends lacks Qt SVG: '$(field Depends)'"
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
grep -q '<release version="1.0.1"' "$metainfo" || fail "metainfo lacks the release 1.0.1"
pass

# The desktop's own validators, where they are installed.
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop_id"
  pass
else
  echo "note: desktop-file-validate not installed; desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
  pass
else
  echo "note: appstreamcli not installed; metainfo not validated"
fi

echo "$checks passed, 0 failed"
