#!/usr/bin/env bash
# Installs every system package Zavio needs to build, test and run, on
# Debian 12. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config
  libgtest-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
  fp-utils
  xvfb xauth fonts-noto-cjk xdg-utils
)

# The desktop program: Qt's own Japanese texts (qtbase_ja.qm); the MIME
# and desktop-entry caches the install refreshes, and the checker of its
# desktop entry.
packages+=(qt6-translations-l10n shared-mime-info desktop-file-utils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
