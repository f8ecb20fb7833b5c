#!/usr/bin/env bash
# make_prefix.sh PREFIX: a fresh 32-bit Wine prefix for one test run, whose X11 driver does not
# manage windows (else every closed window stalls 2 s without a window manager).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_common.sh"
require_wine
prefix=$1
wine_env "$prefix"
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
env -u DISPLAY wineboot -i >/dev/null 2>&1
env -u DISPLAY wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
wineserver -w
echo "Wine prefix ready: $prefix"
