#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (idempotent).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PACKAGES="cmake ninja-build dpkg-dev patch fontconfig googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 xvfb xauth x11-utils imagemagick librsvg2-bin libz-mingw-w64-dev zlib1g-dev g++ libstb-dev fonts-wine fonts-wqy-microhei"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done

src_list=/etc/apt/sources.list.d/debian.sources
need_src=0
if [ -f "$src_list" ] && grep -q '^Types: deb$' "$src_list"; then need_src=1; fi

if [ -n "$missing" ] || [ $need_src = 1 ]; then
  if [ $need_src = 1 ]; then
    log "enabling deb-src"
    sed -i 's/^Types: deb$/Types: deb deb-src/' "$src_list"
  fi
  log "installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  [ -z "$missing" ] || apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
