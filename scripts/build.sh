#!/usr/bin/env bash
# Configures and builds both architectures (x86_64 runs here, i686 is compiled and linked only).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ROOT/scripts/setup-deps.sh"
for arch in $ARCHES; do
  bdir=$BUILD_ROOT/$arch
  if [ ! -f "$bdir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$bdir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" \
      -DSKEIN_DEPS_PREFIX="$DEPS_ROOT/$arch" -DSKEIN_WINEPREFIX="$WINEPREFIX_DIR" >/dev/null
  fi
  log "building $arch"
  cmake --build "$bdir" -j "$JOBS"
done
