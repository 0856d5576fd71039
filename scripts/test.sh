#!/usr/bin/env bash
# Installs what is missing, checks the sources' formatting (scripts/check-format.sh),
# builds and runs every test through CTest; then the same suite again as a Debug build under AddressSanitizer and
# UndefinedBehaviorSanitizer (clang, folder build-asan), where any report fails
# the test, and a short run of each reader fuzz target.
# N4_SKIP_SANITIZERS=1 runs the Release suite only (a quick look while working).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
ctest --test-dir build --output-on-failure -j2
[ "${N4_SKIP_SANITIZERS:-0}" = 1 ] && exit 0

# Any sanitizer report ends the process with an error; leaks count too.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DN4_SANITIZE=ON -DN4_FUZZ=ON -DN4_BUILD_BENCH=OFF
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2
scripts/fuzz.sh "${N4_FUZZ_SECONDS:-20}" build-asan
