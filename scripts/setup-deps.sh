#!/usr/bin/env bash
# Cross-builds libpng (with the animated-PNG patch) and pugixml from Debian source packages
# for both architectures into $DEPS_ROOT/<arch>. Cached: a finished build is not redone.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ROOT/scripts/setup-packages.sh"

SRC=$DEPS_ROOT/src
mkdir -p "$SRC"

sort_versions() {
  local out=() v i placed
  while read -r v; do
    [ -n "$v" ] || continue
    placed=0
    for i in "${!out[@]}"; do
      if dpkg --compare-versions "$v" gt "${out[$i]}"; then
        out=("${out[@]:0:$i}" "$v" "${out[@]:$i}"); placed=1; break
      fi
    done
    [ $placed = 1 ] || out+=("$v")
  done
  printf '%s\n' "${out[@]}"
}

# Newest source version of PKG that this mirror serves (the newest .dsc may be missing).
fetch_source() {
  local pkg=$1 dir=$2
  [ -f "$dir.unpacked" ] && return 0
  rm -rf "$dir"
  local v ordered
  ordered=$(apt-cache showsrc "$pkg" | awk '/^Version:/{print $2}' | sort -u | sort_versions)
  local tmp
  tmp=$(mktemp -d "$SRC/dl.XXXX")
  for v in $ordered; do
    if (cd "$tmp" && apt-get source -qq --download-only "$pkg=$v" >/dev/null 2>&1); then
      local dsc
      dsc=$(ls "$tmp"/*.dsc | head -n1)
      dpkg-source -x "$dsc" "$dir" >/dev/null 2>&1
      rm -rf "$tmp"
      [ "$pkg" != libpng1.6 ] || (cd "$dir" && patch -p1 -s < debian/patches/libpng-1.6.39-apng.patch)
      touch "$dir.unpacked"
      log "$pkg $v unpacked"
      return 0
    fi
    rm -f "$tmp"/*
  done
  rm -rf "$tmp"
  echo "could not download a source version of $pkg" >&2
  exit 1
}

fetch_source libpng1.6 "$SRC/libpng"
grep -q png_get_acTL "$SRC/libpng/png.h" || { echo "libpng lacks the APNG functions" >&2; exit 1; }
fetch_source pugixml "$SRC/pugixml"

build_one() {
  local name=$1 arch=$2 srcdir=$3; shift 3
  local prefix=$DEPS_ROOT/$arch stamp=$DEPS_ROOT/$arch/.$name.done
  # the stamp holds the options, so changed options rebuild
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$*" ] && return 0
  local bdir=$DEPS_ROOT/build/$name-$arch
  rm -rf "$bdir"
  cmake -S "$srcdir" -B "$bdir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DSKEIN_DEPS_PREFIX="$prefix" "$@" >/dev/null
  cmake --build "$bdir" -j "$JOBS" >/dev/null
  cmake --install "$bdir" >/dev/null
  echo "$*" > "$stamp"
  log "$name built for $arch"
}

for arch in $ARCHES; do
  build_one libpng "$arch" "$SRC/libpng" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_USE_STATIC_LIBS=ON -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON &
  build_one pugixml "$arch" "$SRC/pugixml" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF -DPUGIXML_WCHAR_MODE=ON &
done
wait
for arch in $ARCHES; do
  for n in libpng pugixml; do
    [ -f "$DEPS_ROOT/$arch/.$n.done" ] || { echo "$n for $arch failed to build" >&2; exit 1; }
  done
done
