#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need.
# Idempotent: apt is only called for packages that are missing.
set -euo pipefail
packages=(
  cmake g++ clang make libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64
  wine64 wine
  xvfb xauth x11-apps imagemagick xdotool
  locales-all fonts-ipafont-gothic fonts-ipafont-mincho
  nsis zip unzip
  zlib1g-dev libz-mingw-w64-dev
)
# The TeX tools the bridges drive: the pTeX family, latexmk, dvipdfmx, PDF viewers (zathura
# takes a page and a place over D-Bus, told with gdbus on a bus of its own), pdftotext, and the stock SyncTeX library the tests
# check the viewers' copy of the data with.
# Their recommended packages (documentation, more fonts) are not needed.
tex_packages=(texlive-lang-japanese texlive-latex-base latexmk poppler-utils mupdf zathura zathura-pdf-poppler
  libglib2.0-bin dbus-daemon libsynctex-dev)

missing_of() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
missing=($(missing_of "${packages[@]}"))
missing_tex=($(missing_of "${tex_packages[@]}"))
[ ${#missing[@]} -eq 0 ] && [ ${#missing_tex[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]} ${missing_tex[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
[ ${#missing[@]} -gt 0 ] && $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
[ ${#missing_tex[@]} -gt 0 ] && $sudo apt-get install -y -qq --no-install-recommends "${missing_tex[@]}" >/dev/null
exit 0
