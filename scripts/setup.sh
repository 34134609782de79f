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
