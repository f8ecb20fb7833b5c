#!/usr/bin/env bash
# remove_prefix.sh PREFIX: ends the prefix's Wine server and removes the prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_common.sh"
command -v wineserver >/dev/null || exit 0
wine_env "$1"
wineserver -k 2>/dev/null || true
rm -rf "$1"
