#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the viewer need.
# Does nothing when all are present; runs apt-get update once before
# installing; uses sudo only when not root.
set -euo pipefail

packages=(
  build-essential cmake make pkg-config
  qt6-base-dev libqt6printsupport6 qt6-qpa-plugins
  qt6-translations-l10n
  libjpeg62-turbo-dev libturbojpeg0-dev
  libgtest-dev googletest
  zlib1g-dev
  libavformat-dev ffmpeg
  libssl-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core fonts-liberation
  poppler-utils
  # make package and its checks: CPack finds the programs' libraries with
  # dpkg-shlibdeps and file; lintian judges the package; man, xdg-mime
  # (with mimetype for its lookup outside a desktop), the MIME and desktop
  # databases, desktop-file-validate and appstreamcli check what it installs.
  dpkg-dev file lintian man-db
  xdg-utils libfile-mimeinfo-perl shared-mime-info desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
