#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal
# build and an AddressSanitizer + UndefinedBehaviorSanitizer build. Warnings
# are errors. The tests are switched on whatever an earlier command (the demo)
# configured, and ctest fails when it finds none.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
unset QT_QPA_PLATFORMTHEME

echo "== normal build"
./scripts/build.sh build -DTRAVENOR_WERROR=ON -DTRAVENOR_SANITIZE=OFF -DTRAVENOR_TESTS=ON \
  -DTRAVENOR_BENCH=ON
(cd build && ctest --output-on-failure --parallel 2 --no-tests=error)

echo "== installed files and the .deb"
./scripts/package-check.sh build

echo "== sanitizer build (address, undefined)"
./scripts/build.sh build-asan -DTRAVENOR_WERROR=ON -DTRAVENOR_SANITIZE=ON -DTRAVENOR_TESTS=ON \
  -DTRAVENOR_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure --parallel 2 --no-tests=error)
