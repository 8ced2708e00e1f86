#!/usr/bin/env bash
# Builds everything and runs every test through CTest; also runs the engine tests
# under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-deps
scripts/build build
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$(nproc)" --timeout 300)

scripts/build build-asan -DORVEX_ENGINE_ONLY=ON \
  -DCMAKE_BUILD_TYPE=Debug \
  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
(cd build-asan && ctest --output-on-failure -j"$(nproc)" --timeout 600)
