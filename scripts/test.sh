#!/usr/bin/env bash
# Builds both architectures and runs every test (the x86_64 build, under wine64 and Xvfb).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/wine-env.sh"
"$ROOT/scripts/build.sh"
trap wine_down EXIT
wine_up
log "running tests"
# A second try absorbs the rare Wine process that fails to start.
ctest --test-dir "$BUILD_ROOT/x86_64" -j "$JOBS" --output-on-failure --repeat until-pass:2 "$@"
