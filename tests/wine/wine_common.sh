# Shared by the Wine test scripts (sourced): skipping, the prefix's environment, a private X
# display and the Windows form of a path.

# ctest treats this exit code as "skipped".
SKIP=77

skip() {
  echo "SKIP: $*"
  exit "$SKIP"
}

require_wine() {
  command -v wine >/dev/null || skip "needs wine (Debian wine, wine32:i386) to run QUIRNEL_ADDRVUE.exe"
  command -v wineserver >/dev/null || skip "needs wineserver (Debian wine)"
  require_32bit_execution
}

# Some kernels refuse every 32-bit x86 program: starting Wine's 32-bit loader then fails with
# "Exec format error" (status 126) before Wine itself runs. Only that answer means the machine
# lacks the capability; any other failure is left for the test to meet and report.
require_32bit_execution() {
  local loader=/usr/lib/wine/wine output status=0
  [ -x "$loader" ] || skip "needs Wine's 32-bit loader $loader (Debian wine32:i386)"
  output=$("$loader" --version 2>&1) || status=$?
  if [ "$status" -eq 126 ] && [[ $output == *"Exec format error"* ]]; then
    skip "this machine cannot run 32-bit x86 programs, so QUIRNEL_ADDRVUE.exe is not run under Wine"
  fi
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
