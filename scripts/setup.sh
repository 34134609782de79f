#!/usr/bin/env bash
# Installs the Debian 12 packages Zavio needs. Safe to run again: it
# installs only what is missing, and needs administrator rights only then
# (as root it runs apt-get itself, otherwise through sudo).
#
#   setup.sh          what building, running and testing need
#   setup.sh --fuzz   that, and the fuzzers' compiler (scripts/fuzz.sh)
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

# The Debian package and its tests: dpkg-shlibdeps (dpkg-dev) and file,
# with which CPack works out the dependencies; fakeroot to install it into
# a test root without being root; debootstrap for the fresh Debian root.
packages+=(dpkg-dev file fakeroot debootstrap)

case "${1:-}" in
  "") ;;
  --fuzz)
    # The fuzzers: clang and its libFuzzer runtime, libclang_rt.fuzzer-x86_64.a
    # (about 420 MB, so only for those who fuzz).
    packages+=(clang libclang-rt-14-dev)
    ;;
  *)
    echo "usage: setup.sh [--fuzz]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: missing ${missing[*]}"
as_admin=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "setup: installing them needs administrator rights, and sudo is missing; as root, run:" >&2
    echo "  apt-get update && apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing them needs administrator rights: asking sudo"
  as_admin=(sudo)
fi
"${as_admin[@]}" apt-get update -qq
"${as_admin[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
