#!/usr/bin/env bash
# Cross-builds the Windows programs (and their tests) on Linux with the shared
# MinGW-w64 toolchain and Qt for Windows: build-windows.sh [DIR] [cmake options...]
# The installer and the zip: (cd DIR && cpack).
set -euo pipefail
cd "$(dirname "$0")/.."
toolchains=${TRAVENOR_WINDOWS_TOOLCHAIN:-$(pwd)/../shared/toolchains/windows}
if [ ! -x "$toolchains/setup.sh" ] && [ ! -f "$toolchains/setup.sh" ]; then
  echo "build-windows.sh: no Windows toolchain at $toolchains (set TRAVENOR_WINDOWS_TOOLCHAIN)" >&2
  exit 1
fi
qt=$(bash "$toolchains/setup.sh" | tail -n 1)
dir=${1:-build-windows}
[ $# -gt 0 ] && shift
# Qt's toolchain file names the cross compiler's own by a path of the machine
# Qt was built on; the one beside the toolchain stands in for it.
"$qt/bin/qt-cmake" -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchains/mingw64-toolchain.cmake" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DTRAVENOR_BENCH=OFF "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
