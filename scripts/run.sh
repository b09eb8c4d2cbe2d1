#!/usr/bin/env bash
# Installs what is missing, builds the program into build/, installs it into ~/.local/opt/kalmir
# and starts it from there. Works from any folder. The program keeps its records in u.ini beside
# the installed executable, so a clean build (rm -rf build) leaves them alone.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

prefix="$HOME/.local/opt/kalmir"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target kalmir
cmake --install build --prefix "$prefix"

# Records kept by a run from the build folder, where this command used to start the program, are
# copied once to the installed program; from then on its own file is the one that counts.
if [ -f build/app/u.ini ] && [ ! -e "$prefix/bin/u.ini" ]; then
  cp -p build/app/u.ini "$prefix/bin/u.ini"
fi

exec "$prefix/bin/kalmir"
