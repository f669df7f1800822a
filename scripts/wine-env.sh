# Display and Wine prefix for running the Windows binaries; sourced after common.sh.
# wine_up: an X display (Xvfb when none is reachable), an initialised prefix with fonts, and a
# persistent wineserver; wine_down stops what wine_up started.
SKEIN_XVFB_PID=""

display_alive() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

start_xvfb() {
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  SKEIN_XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 100); do display_alive && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2; return 1
}

wine_cmd() { WINEPREFIX=$WINEPREFIX_DIR WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= "$WINE64" "$@"; }

init_prefix() {
  [ -f "$WINEPREFIX_DIR/.skein-ready" ] && return 0
  log "creating Wine prefix $WINEPREFIX_DIR"
  rm -rf "$WINEPREFIX_DIR"; mkdir -p "$WINEPREFIX_DIR"
  wine_cmd wineboot -i </dev/null >/dev/null 2>&1 || true
  WINEPREFIX=$WINEPREFIX_DIR "$WINESERVER" -w
  # Wine's own fonts (Tahoma, Marlett ...) and CJK faces mapped onto WenQuanYi Micro Hei.
  local fonts=$WINEPREFIX_DIR/drive_c/windows/Fonts f face
  mkdir -p "$fonts"
  for f in /usr/share/wine/fonts/*; do ln -sf "$f" "$fonts/"; done
  for face in SimSun NSimSun SimHei "Microsoft YaHei" "Microsoft YaHei UI"; do
    wine_cmd reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
      /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1
  done
  wine_cmd reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "DejaVu Sans" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
  WINEPREFIX=$WINEPREFIX_DIR "$WINESERVER" -w
  touch "$WINEPREFIX_DIR/.skein-ready"
}

start_server() {
  mkdir -p "$WINEPREFIX_DIR"
  WINEPREFIX=$WINEPREFIX_DIR "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
}

wine_up() {
  display_alive || start_xvfb
  # a server started without a display keeps Wine's null driver: restart it with one
  WINEPREFIX=$WINEPREFIX_DIR "$WINESERVER" -k >/dev/null 2>&1 || true
  init_prefix
  start_server
  # Start the desktop process now, detached from our output: started by a test, it would hold
  # the test's output pipe open and ctest would wait for it.
  wine_cmd rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

wine_down() {
  WINEPREFIX=$WINEPREFIX_DIR "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -z "$SKEIN_XVFB_PID" ] || kill "$SKEIN_XVFB_PID" 2>/dev/null || true
}
