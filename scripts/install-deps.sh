#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, only those missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libsqlite3-dev libcurl4-openssl-dev libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  libglib2.0-dev python3 curl openssl
  libgtk-3-dev xvfb xauth xdotool imagemagick x11-utils
  clang libclang-rt-14-dev
)
exec "$(dirname "$0")/apt-install.sh" "${packages[@]}"
