#!/usr/bin/env bash
# Opens the first volume of the demo archive in the viewer; before the viewer
# is built, prints what orxtool sees in it.
set -euo pipefail
build=$1 demo=$2
first=$(ls "$demo"/*.oxa | sort | head -n 1)
if [ -x "$build/bin/orxviewer" ]; then
  exec "$build/bin/orxviewer" "$first"
fi
"$build/bin/orxtool" info "$first"
