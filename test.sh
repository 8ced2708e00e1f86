#!/usr/bin/env bash
# Builds everything and runs every test through CTest. The engine's own tests run once, in
# build-asan/ under AddressSanitizer and UndefinedBehaviorSanitizer (optimised for
# debugging, -Og, with line tables); build/ runs the command-line, window and package tests.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-deps
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_ENGINE_TESTS=OFF >/dev/null
else
  cmake -S . -B build -DORVEX_ENGINE_TESTS=OFF >/dev/null
fi
scripts/build build
export QT_QPA_PLATFORM=offscreen
# Twice as many tests at once as cores: many of them wait on timers and silent servers.
jobs=$(( $(nproc) * 2 ))
(cd build && ctest --output-on-failure -j"$jobs" --timeout 300)

scripts/build build-asan -DORVEX_ENGINE_ONLY=ON \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
  "-DCMAKE_CXX_FLAGS=-Og -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
(cd build-asan && ctest --output-on-failure -j"$jobs" --timeout 600)
