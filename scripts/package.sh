#!/usr/bin/env bash
# Installs what is missing, builds the program into build/ and makes the Debian package of it in
# build/package/. Works from any folder; prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target kalmir
# One package in the folder: the one just made.
rm -f build/package/*.deb
(cd build && cpack -G DEB -B package)
ls build/package/*.deb
