#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then builds the tests again,
# the window tests included, with the address and undefined-behaviour sanitizers and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKALMIR_SANITIZE=ON -DKALMIR_BENCH=OFF -DKALMIR_APP=ON
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure
