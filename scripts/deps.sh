#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, and only those missing.
# Sourced by test.sh and run.sh; safe to run again: a complete machine installs nothing.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libqt6svg6 libgl-dev fonts-dejavu-extra
  dpkg-dev file desktop-file-utils appstream
  poppler-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
