# Shared by the Wine test scripts (sourced): skipping, the prefix's environment, a private X
# display and the Windows form of a path.

# ctest treats this exit code as "skipped".
SKIP=77

skip() {
  echo "SKIP: $*"
  exit "$SKIP"
}

require_wine() {
  command -v wine >/dev/null || skip "needs wine (32-bit) to run QUIRNEL_ADDRVUE.exe"
  command -v wineserver >/dev/null || skip "needs wineserver"
}

require_display_tools() {
  command -v Xvfb >/dev/null || skip "needs Xvfb for a virtual display"
}

wine_env() {
  export WINEPREFIX="$1" WINEARCH=win32 WINEDEBUG=-all
}

# Starts Xvfb on the first free display from 90 on; sets XVFB_DISPLAY and XVFB_PID.
start_xvfb() {
  local n
  for n in $(seq 90 150); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && { XVFB_DISPLAY=":$n"; return 0; }
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
  done
  echo "cannot start Xvfb" >&2
  return 1
}

# Z:\the\unix\path, as a Windows program sees it.
windows_path() {
  local p
  p=$(realpath -m "$1")
  echo "Z:${p//\//\\}"
}
