#!/usr/bin/env bash
# Installs what is missing, builds arrowgrid and starts it.
source "$(dirname "$0")/common.sh"
cd "$(dirname "$0")/.."
install_missing "${BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target arrowgrid
exec ./build/arrowgrid "$@"
