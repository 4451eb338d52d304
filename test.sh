#!/usr/bin/env bash
# Installs what is missing, builds the test build (ASan and UBSan) in
# build-test/ and runs every test; then a short fuzz run when clang is present.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/check-layers

./scripts/setup-deps
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_BENCH=OFF
ninja -C build-test -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-test --output-on-failure -j"$(nproc)"

if command -v clang++ >/dev/null 2>&1; then
  ./scripts/fuzz-smoke
fi
