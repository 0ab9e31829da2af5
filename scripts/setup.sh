#!/usr/bin/env bash
# Installs the Debian packages the project builds with, where missing.
set -euo pipefail

packages=(
  g++ make cmake
  libpugixml-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev
  libcli11-dev
  locales
  g++-mingw-w64-x86-64 wine64
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: run as root to install ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
