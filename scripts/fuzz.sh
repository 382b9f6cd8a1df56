#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, address and undefined
# behaviour sanitizers, in build-fuzz/, then runs each one (all of them
# unless targets are named).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]  each target for SECONDS (default 60);
#                                          what it finds is kept in build-fuzz/corpus/
#   scripts/fuzz.sh --runs N [TARGET...]   each target for N inputs grown from its
#                                          seeds in a scratch corpus (what CI does)
#
# A failing input is written to build-fuzz/crashes/ and the script fails.
# Replay it with: build-fuzz/fuzz/TARGET build-fuzz/crashes/FILE
source "$(dirname "$0")/common.sh"
cd "$(dirname "$0")/.."
install_missing "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

limit=(-max_total_time=60)
scratch=""
if [ "${1:-}" = "--runs" ]; then
  limit=(-runs="$2")
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  shift 2
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  limit=(-max_total_time="$1")
  shift
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_line_editor fuzz_number_conversion fuzz_cp437 fuzz_terminal_keys fuzz_script_lines
           fuzz_script_program fuzz_command_line)
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DARROWGRID_FUZZ=ON > /dev/null
cmake --build build-fuzz -j"$(nproc 2>/dev/null || echo 2)" --target fuzz_all

mkdir -p build-fuzz/crashes
failed=()
for target in "${targets[@]}"; do
  if [ -n "$scratch" ]; then
    corpus=$scratch/$target
  else
    corpus=build-fuzz/corpus/$target
  fi
  mkdir -p "$corpus"
  # Typed sessions and edited lines need some length from the start; an
  # input that runs for seconds is a hang.
  options=(-timeout=30)
  case $target in
    fuzz_script_program | fuzz_line_editor) options+=(-len_control=0 -max_len=1024) ;;
  esac
  echo "== $target"
  if ! "build-fuzz/fuzz/$target" "${limit[@]}" "${options[@]}" -artifact_prefix="build-fuzz/crashes/$target-" \
      "$corpus" "fuzz/corpus/$target" > "build-fuzz/$target.log" 2>&1; then
    tail -n 40 "build-fuzz/$target.log"
    failed+=("$target")
  fi
  grep -E '^Done [0-9]+ runs' "build-fuzz/$target.log" || true
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Failed: ${failed[*]} (inputs in build-fuzz/crashes/)" >&2
  exit 1
fi
