#!/usr/bin/env bash
# Builds libcurl for one MinGW-w64 target (i686-w64-mingw32 or x86_64-w64-mingw32):
# HTTP only, static, from Debian's own curl source package, into
# ${XDG_CACHE_HOME:-$HOME/.cache}/orvanel/curl-<triplet>. Debian ships no libcurl for
# MinGW; an existing build in the cache is reused as it is.
set -euo pipefail
triplet=${1:?usage: build-windows-curl.sh <i686-w64-mingw32|x86_64-w64-mingw32>}
case "$triplet" in
  i686-w64-mingw32 | x86_64-w64-mingw32) ;;
  *) echo "build-windows-curl.sh: unknown target $triplet" >&2; exit 2 ;;
esac
cache=${XDG_CACHE_HOME:-$HOME/.cache}/orvanel
prefix=$cache/curl-$triplet
[ -f "$prefix/lib/cmake/CURL/CURLConfig.cmake" ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# A deb-src entry beside each deb entry of this machine's Debian sources, in the
# deb822 form (debian.sources) or the one-line form (sources.list), whichever it uses.
if ! apt-cache showsrc curl 2>/dev/null | grep -q '^Package: curl'; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/orvanel-debian-src.sources >/dev/null
  elif grep -q '^deb ' /etc/apt/sources.list 2>/dev/null; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/orvanel-debian-src.list >/dev/null
  else
    echo "build-windows-curl.sh: no Debian sources in /etc/apt to add deb-src entries for" >&2
    exit 1
  fi
  "${sudo_cmd[@]}" apt-get update -qq
fi

mkdir -p "$cache"
work=$(mktemp -d "$cache/curl-source.XXXXXX")
chmod 755 "$work"  # apt downloads as its own user
trap 'rm -rf "$work"' EXIT
# apt checks the files against the signed source index; the .dsc's own signature would
# need a Debian keyring, hence --no-check.
(cd "$work" && apt-get source -qq --download-only curl >/dev/null && dpkg-source -x --no-check ./curl_*.dsc src >/dev/null)

# Plain HTTP through the easy interface is all the program uses: no TLS, no other protocol.
cmake -S "$work/src" -B "$work/build" -G "Unix Makefiles" \
  -DCMAKE_SYSTEM_NAME=Windows \
  -DCMAKE_C_COMPILER="$triplet-gcc-posix" -DCMAKE_RC_COMPILER="$triplet-windres" \
  -DCMAKE_FIND_ROOT_PATH="/usr/$triplet" -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DHTTP_ONLY=ON \
  -DCURL_USE_OPENSSL=OFF -DCURL_USE_SCHANNEL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF \
  -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DUSE_LIBIDN2=OFF \
  -DUSE_WIN32_IDN=OFF -DENABLE_UNIX_SOCKETS=OFF -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_COOKIES=ON \
  -DENABLE_MANUAL=OFF -DCURL_DISABLE_ALTSVC=ON -DCURL_DISABLE_HSTS=ON -DCURL_DISABLE_NTLM=ON \
  -DENABLE_THREADED_RESOLVER=ON >"$work/configure.log" 2>&1 || {
  tail -40 "$work/configure.log" >&2
  exit 1
}
cmake --build "$work/build" -j "${JOBS:-2}" >"$work/build.log" 2>&1 || {
  tail -40 "$work/build.log" >&2
  exit 1
}
cmake --install "$work/build" >/dev/null
echo "libcurl for $triplet in $prefix"
