#!/usr/bin/env bash
# A desktop that has the file type and the desktop entry installed (here in
# a data folder of its own) knows a volume by its name and by its first
# bytes, and opens the type with the viewer.
# usage: file-type.sh ORXTOOL MIME_XML DESKTOP_ENTRY
set -euo pipefail
tool=$1 mime_xml=$2 entry=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
data=$root/data
mkdir -p "$data/mime/packages" "$data/applications" "$root/config"
cp "$mime_xml" "$data/mime/packages/"
cp "$entry" "$data/applications/"

# No desktop session: xdg-mime's own lookup, over the system's types and
# this folder's, and no user or system defaults.
session() {
  env -i PATH=/usr/bin:/bin HOME="$root" XDG_DATA_HOME="$data" XDG_DATA_DIRS=/usr/share \
    XDG_CONFIG_HOME="$root/config" XDG_CONFIG_DIRS="$root/config" "$@"
}
session update-mime-database "$data/mime"
session update-desktop-database "$data/applications"

"$tool" make-demo --out "$root/demo" >/dev/null
volume=$root/demo/demo-03.oxa
ln "$volume" "$root/renamed.bin"
# The magic but for its last byte.
printf '\x00\x11\x22\x33\x44\x55\x66\x78\x00\x00\x00\x00' >"$root/near.bin"

status=0
expect() {
  local want=$1; shift
  local got
  got=$(session xdg-mime "$@" 2>&1) || true
  if [ "$got" = "$want" ]; then
    echo "ok: xdg-mime $* -> $got"
  else
    echo "FAILED: xdg-mime $*: '$got', expected '$want'"; status=1
  fi
}
expect application/x-orx-volume query filetype "$volume"
expect application/x-orx-volume query filetype "$root/renamed.bin"
expect application/octet-stream query filetype "$root/near.bin"
expect "$(basename "$entry")" query default application/x-orx-volume
exit $status
