#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit
# and scripted tests, the same tests built with the address and undefined
# behaviour sanitizers, the real window under a virtual display, and a short
# run of each fuzz target.
source "$(dirname "$0")/common.sh"
cd "$(dirname "$0")/.."
install_missing "${BUILD_PACKAGES[@]}" xvfb xauth xdotool imagemagick tmux poppler-utils libxml2-utils \
  clang libclang-rt-14-dev parallel
# The ipuz test reads the files back with a parser from npm, and the puzzle
# page's test drives Debian's chromium with puppeteer-core from npm; a node
# from elsewhere (with its own npm) is used as it is.
install_missing chromium
command -v node >/dev/null || install_missing nodejs npm

jobs=$(nproc 2>/dev/null || echo 2)

# Includes that run against the folder order fail before anything is built.
bash scripts/check_layers.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DARROWGRID_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
LSAN_OPTIONS="suppressions=$PWD/tests/leak_suppressions.txt:print_suppressions=0" ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# Every benchmark must still build, even though none runs here.
cmake --build build -j"$jobs" --target bench_all

# Each fuzz target on a fixed number of inputs grown from its seeds; longer
# runs on demand with scripts/fuzz.sh SECONDS.
bash scripts/fuzz.sh --runs 2000
