#!/usr/bin/env bash
# Builds everything and starts the program under wine64. With no reachable X display it runs on
# Xvfb, saves a screenshot to build/screenshot.png after RUN_SECONDS (default 8) and ends it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/wine-env.sh"
"$ROOT/scripts/build.sh"
bin=$BUILD_ROOT/x86_64/bin
program=""
for p in Corvane skein_demo; do
  [ -f "$bin/$p.exe" ] && { program=$bin/$p.exe; break; }
done
[ -n "$program" ] || { echo "nothing runnable is built yet" >&2; exit 1; }

headless=0
display_alive || headless=1
trap wine_down EXIT
wine_up
cd "$bin"
if [ $headless = 0 ]; then
  wine_cmd "$program" "$@"
  exit $?
fi
wine_cmd "$program" "$@" </dev/null >/dev/null 2>&1 &
pid=$!
sleep "${RUN_SECONDS:-8}"
import -window root "$BUILD_ROOT/screenshot.png" && log "screenshot: $BUILD_ROOT/screenshot.png"
kill $pid 2>/dev/null || true
