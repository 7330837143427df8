#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need.
# Idempotent: apt is only called for packages that are missing.
set -euo pipefail
packages=(
  cmake g++ make libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64
  wine64 wine
  xvfb xauth x11-apps imagemagick
  locales-all fonts-ipafont-gothic fonts-ipafont-mincho
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
