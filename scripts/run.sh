#!/usr/bin/env bash
# Installs what is missing, builds the program into build/ and starts it. Works from any folder:
# the program keeps its records in u.ini beside the executable, build/app/u.ini.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target kalmir
exec build/app/kalmir
