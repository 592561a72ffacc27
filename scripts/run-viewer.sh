#!/usr/bin/env bash
# Opens the whole demo archive (the folder of its volumes) in the viewer;
# before the viewer is built, prints what orxtool sees in the volumes.
set -euo pipefail
build=$1 demo=$2
if [ -x "$build/bin/orxviewer" ]; then
  exec "$build/bin/orxviewer" "$demo"
fi
"$build/bin/orxtool" info "$demo"/*.oxa
