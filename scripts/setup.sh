#!/usr/bin/env bash
# Installs every system package Zavio needs to build, test and run, on
# Debian 12. Safe to run again: it installs only what is missing.
set -euo pipefail

# What the project uses itself (packages these bring along are not named):
# the build (cmake g++ ninja-build); the unit and end-to-end tests
# (libgtest-dev); the desktop program and its tests (qt6-base-dev, with moc
# from qt6-base-dev-tools; its xcb and offscreen platforms come with Qt's GUI
# library), fonts-noto-cjk for its Japanese texts and xdg-utils, through
# which Qt opens help pages; the consumer checks and the compiled help
# (fp-utils: chmcmd).
packages=(
  cmake g++ ninja-build
  libgtest-dev
  qt6-base-dev qt6-base-dev-tools
  fp-utils
  fonts-noto-cjk xdg-utils
)

# The desktop program: Qt's own Japanese texts (qtbase_ja.qm); the MIME
# and desktop-entry caches the install refreshes and the checker of its
# desktop entry; a virtual display (xvfb-run) for the key-scheme test and
# the screenshots.
packages+=(qt6-translations-l10n shared-mime-info desktop-file-utils xvfb xauth)

# The fuzzers (scripts/fuzz.sh): clang and its libFuzzer runtime,
# libclang_rt.fuzzer-x86_64.a.
packages+=(clang libclang-rt-14-dev)

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
