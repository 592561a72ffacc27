#!/usr/bin/env bash
# Checks the Debian package that make package left in the build folder:
# lintian finds no error and no warning that docs/packaging.md does not
# explain; the package holds what an installed viewer needs; orxtool,
# unpacked from it into a folder of its own, runs and verifies a volume.
# usage: check-package.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/orx-viewer_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "no package $deb: run make package"; exit 1; }
echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends Installed-Size

status=0
fail() { echo "FAILED: $*"; status=1; }

echo "== lintian"
lintian_out=$(lintian --display-level '>=warning' --tag-display-limit 0 "$deb" 2>&1 |
  grep -v 'running with root privileges') || true
echo "${lintian_out:-no error, no warning}"
grep -q '^E: ' <<<"$lintian_out" && fail "lintian reports errors"
# Each warning the package still draws is explained in docs/packaging.md.
for tag in $(sed -n 's/^W: [^:]*: \([^ ]*\).*/\1/p' <<<"$lintian_out" | sort -u); do
  grep -q -- "\`$tag\`" docs/packaging.md || fail "lintian warning $tag is not explained in docs/packaging.md"
done

echo "== contents"
contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')
for path in /usr/bin/orxviewer /usr/bin/orxtool \
    /usr/share/applications/orxviewer.desktop \
    /usr/share/mime/packages/orx-viewer.xml \
    /usr/share/icons/hicolor/scalable/apps/orxviewer.svg \
    /usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/orxviewer.png \
    /usr/share/man/man1/orxviewer.1.gz /usr/share/man/man1/orxtool.1.gz \
    /usr/share/doc/orx-viewer/copyright /usr/share/doc/orx-viewer/changelog.gz; do
  grep -qx -- "$path" <<<"$contents" || fail "the package lacks $path"
done
grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' <<<"$contents" || fail "the package lacks its metainfo"
depends=$(dpkg-deb --field "$deb" Depends)
for package in qt6-translations-l10n libqt6gui6 libqt6printsupport6 libjpeg62-turbo; do
  grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package"
done
grep -q '^libavformat[0-9]' <<<"$(dpkg-deb --field "$deb" Recommends)" ||
  fail "Recommends lacks libavformat"
echo "$(wc -l <<<"$contents") entries"

echo "== unpacked"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
tool=$root/usr/bin/orxtool
"$tool" --help >"$root/help.txt" || fail "orxtool --help exits $?"
grep -q '^usage: orxtool' "$root/help.txt" || fail "orxtool --help prints no usage"
"$tool" make-demo --out "$root/demo" >/dev/null || fail "orxtool make-demo exits $?"
"$tool" verify "$root/demo/demo-01.oxa" || fail "orxtool verify exits $?"

[ $status -eq 0 ] && echo "package checks passed"
exit $status
