#!/usr/bin/env bash
# Installs what is missing, builds the Release build in build/ and starts the
# editor with the files given.
set -euo pipefail
args=()
for f in "$@"; do args+=("$(realpath -- "$f")"); done
cd "$(dirname "$0")"

./scripts/setup-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF >/dev/null
ninja -C build -j"$(nproc)" quillet quillet-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display found. Try: xvfb-run ./run.sh $*" >&2
  exit 1
fi
exec ./build/app/quillet ${args[@]+"${args[@]}"}
