# Shared by the Wine test scripts (sourced): skipping, the 32-bit probe, the prefix's environment
# and the Windows form of a path; the virtual display comes from tests/support.

. "$(dirname "${BASH_SOURCE[0]}")/../support/virtual_display.sh"

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


wine_env() {
  export WINEPREFIX="$1" WINEARCH=win32 WINEDEBUG=-all
}

# Z:\the\unix\path, as a Windows program sees it.
windows_path() {
  local p
  p=$(realpath -m "$1")
  echo "Z:${p//\//\\}"
}
