#!/usr/bin/env bash
# Installs the Debian packages the project builds with, where missing: those
# that build the module and lwsim, and with these arguments more:
#   --tests     GoogleTest, Google Benchmark, the locales the tests use and
#               python3 (the mutation sample's site picker)
#   --windows   the MinGW-w64 cross compiler, and Wine with the locales it runs
#               the tests in
#   --clang     clang, for the test command's clang build, and its libFuzzer
#               for the fuzz targets
set -euo pipefail

packages=(g++ make cmake libexpat1-dev libcli11-dev)
for group in "$@"; do
  case "$group" in
    --tests) packages+=(libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev locales python3) ;;
    --windows) packages+=(g++-mingw-w64-x86-64 wine64 locales) ;;
    --clang) packages+=(clang libclang-rt-14-dev) ;;
    *) echo "setup: unknown argument $group (--tests, --windows, --clang)" >&2; exit 2 ;;
  esac
done

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
