#!/usr/bin/env bash
# Installs what is missing, builds the program and its command-line tool (not
# the tests or benchmarks) in Release and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target numbers4marvo numbers4marvo-cli
# Started from its own folder, the portable copy keeps its settings file there too.
cd build
exec ./numbers4marvo
