#!/usr/bin/env bash
# Installs the Debian packages of the Windows builds and their tests, only those missing:
# the MinGW-w64 cross compilers (POSIX threads flavour, for std::thread and libcurl),
# Wine with its 64-bit loader, Xvfb for the dialogs, and the tools that read and make
# the resources (pefile, librsvg, ImageMagick). dpkg-dev is what `apt-get source` needs.
set -euo pipefail
packages=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb x11-apps
  python3 python3-pefile librsvg2-bin imagemagick
  dpkg-dev make
)
exec "$(dirname "$0")/apt-install.sh" "${packages[@]}"
