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
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq || true
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
