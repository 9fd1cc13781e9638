#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, as the Debian package does, and checks what a
# desktop needs of it: every file in place, icons of the size their folder claims, entries that
# point at what was installed, and both metadata files accepted by their validators.
# usage: check-installed-tree.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null
usr=$root/usr
id=org.korvath.Pantiro
desktop=$usr/share/applications/$id.desktop
metainfo=$usr/share/metainfo/$id.metainfo.xml

for program in pantiro pantiro-sim; do
  [ -x "$usr/bin/$program" ] || fail "bin/$program is missing or not executable"
done
for file in "$desktop" "$metainfo" "$usr/share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -s "$file" ] || fail "${file#"$root"} is missing"
done
for size in 16 32 48; do
  icon=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || fail "${icon#"$root"} is not a $size px PNG"
done

# The menu starts what Exec names and shows the icon of that name; the software centre finds
# the menu entry and the programs the metadata names.
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$usr/bin/$exec_name" ] || fail "Exec=$exec_name is not an installed program"
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -s "$usr/share/icons/hicolor/48x48/apps/$icon_name.png" ] || fail "Icon=$icon_name is not an installed icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || fail "the metadata does not launch $id.desktop"
for binary in $(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$metainfo"); do
  [ -x "$usr/bin/$binary" ] || fail "the metadata provides $binary, which is not installed"
done
grep -q '<release version="[0-9][^"]*"' "$metainfo" || fail "the metadata has no release version"

# Warnings count as failures: a menu or software centre may drop an entry it warns about.
report=$(desktop-file-validate "$desktop" 2>&1) || true
[ -z "$report" ] || fail "desktop-file-validate: $report"
appstreamcli validate --no-net "$metainfo" >"$root/appstream.log" 2>&1 \
  || fail "appstreamcli validate: $(cat "$root/appstream.log")"

[ "$failures" -eq 0 ] || exit 1
echo "installed tree complete and valid"
