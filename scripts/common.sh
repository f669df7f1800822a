# Shared settings for the build scripts; sourced, not run.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
DEPS_ROOT=${DEPS_ROOT:-$BUILD_ROOT/deps}
ARCHES=${ARCHES:-"x86_64 i686"}
JOBS=${JOBS:-$(nproc)}
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
WINEPREFIX_DIR=$BUILD_ROOT/wineprefix
log() { printf '== %s\n' "$*" >&2; }
