#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, as the Debian package does, and checks what a
# desktop needs of it: every file in place, icons of the size their folder claims, entries that
# point at what was installed, and both metadata files accepted by their validators; and what
# Debian needs: a manual page for each program, compressed reproducibly and read without a
# warning, the copyright in the machine-readable format, and one version everywhere.
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

# gzip -9n leaves neither the file's name nor its time in the header.
gzip_9n() { [[ "$(file -b "$1")" == "gzip compressed data, max compression, from Unix,"* ]]; }
doc=$usr/share/doc/pantiro
for program in "$usr"/bin/*; do
  page=$usr/share/man/man1/$(basename "$program").1.gz
  gzip_9n "$page" || fail "${page#"$root"} is missing or not compressed with gzip -9n: $(file -b "$page")"
  report=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot read ${page#"$root"}"
  [ -z "$report" ] || fail "man warns about ${page#"$root"}: $report"
done
head -n 1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  || fail "the copyright file is not in the machine-readable format"
gzip_9n "$doc/changelog.gz" || fail "changelog.gz is missing or not compressed with gzip -9n"
version=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo")
changelog_version=$(gzip -dc "$doc/changelog.gz" | sed -n '1s/^pantiro (\([^)]*\)).*/\1/p') || true
[ "$changelog_version" = "$version" ] || fail "the changelog's version $changelog_version is not the release $version"
program_version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/pantiro" --version) || true
[ "$program_version" = "pantiro $version" ] || fail "pantiro --version says '$program_version', not 'pantiro $version'"

[ "$failures" -eq 0 ] || exit 1
echo "installed tree complete and valid"
