#!/usr/bin/env bash
# run_fixtures.sh PREFIX WINDOWS_BUILD FIXTURE_TRANSCRIPT OUT [FIXTURE...]
#
# Runs QUIRNEL_ADDRVUE.exe under Wine against the stand-in iphlpapi.dll once per fixture (every
# fixture when none is named), each run clicked through by its own UI driver, all at the same
# time (each includes the 20-second pause). Each run must reach the closing box and exit with
# code 0, and its transcript must equal the Linux report's for that fixture. One run of
# three_dns_two_adapters goes on a second display and stops for screenshots of the window at
# start, with its first box, and in the pause (OUT/shots/windows-*.png).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_common.sh"
require_wine
require_display_tools

prefix=$1 build=$2 transcript_tool=$3 out=$4
shift 4
exe=$build/QUIRNEL_ADDRVUE.exe
driver=$build/tests/wine/ui_driver.exe
standin=$build/tests/wine/standin/iphlpapi.dll
for f in "$exe" "$driver" "$standin"; do
  [ -f "$f" ] || { echo "FAIL: $f is missing: build the windows preset first"; exit 1; }
done
if [ $# -gt 0 ]; then fixtures=("$@"); else mapfile -t fixtures < <("$transcript_tool" --list); fi

[ -d "$prefix" ] || "$here/make_prefix.sh" "$prefix"
wine_env "$prefix"
export WINEDLLOVERRIDES=iphlpapi=n,b

rm -rf "$out"
mkdir -p "$out/app" "$out/shots" "$out/hold"
cp "$exe" "$standin" "$out/app/"
app=$(windows_path "$out/app/QUIRNEL_ADDRVUE.exe")

xvfbs=()
cleanup() {
  wineserver -k 2>/dev/null || true
  [ ${#xvfbs[@]} -gt 0 ] && kill "${xvfbs[@]}" 2>/dev/null
  return 0
}
trap cleanup EXIT

start_xvfb
export DISPLAY=$XVFB_DISPLAY
xvfbs+=("$XVFB_PID")
start_xvfb
shots_display=$XVFB_DISPLAY
xvfbs+=("$XVFB_PID")

started=$(date +%s)
pids=()
for f in "${fixtures[@]}"; do
  ADDRVUE_FIXTURE=$f timeout 150 wine "$driver" "$app" >"$out/$f.jsonl" 2>"$out/$f.err" &
  pids+=($!)
done

# The screenshot run, alone on its display.
ADDRVUE_FIXTURE=three_dns_two_adapters DISPLAY=$shots_display timeout 150 \
  wine "$driver" "$app" "$(windows_path "$out/hold")" >"$out/shots.jsonl" 2>"$out/shots.err" &
shots_pid=$!
for point in start box1 pause; do
  for _ in $(seq 1200); do [ -e "$out/hold/$point.ready" ] && break; sleep 0.05; done
  if [ -e "$out/hold/$point.ready" ]; then
    sleep 0.5  # let the window finish painting
    DISPLAY=$shots_display import -window root "$out/shots/windows-$point.png" || true
  fi
  touch "$out/hold/$point.go"
done

failed=0
for i in "${!fixtures[@]}"; do
  f=${fixtures[$i]}
  rc=0; wait "${pids[$i]}" || rc=$?
  "$transcript_tool" "$f" >"$out/$f.linux.jsonl"
  verdict=$(/usr/bin/python3 "$here/compare_transcripts.py" "$out/$f.jsonl" "$out/$f.linux.jsonl" || true)
  exit_line=$(tr -d '\r' <"$out/$f.err" | grep -E '^exit [0-9]+$' | tail -1 || true)
  if [ "$rc" -ne 0 ] || [ "$exit_line" != "exit 0" ] || [[ $verdict != OK:* ]]; then
    failed=1
    echo "FAIL $f: driver $rc, program ${exit_line:-did not end}; $verdict"
    sed 's/^/    /' "$out/$f.err"
  else
    echo "ok   $f: $verdict"
  fi
done
rc=0; wait "$shots_pid" || rc=$?
"$transcript_tool" three_dns_two_adapters >"$out/shots.linux.jsonl"
verdict=$(/usr/bin/python3 "$here/compare_transcripts.py" "$out/shots.jsonl" "$out/shots.linux.jsonl" || true)
if [ "$rc" -ne 0 ] || [[ $verdict != OK:* ]]; then
  failed=1
  echo "FAIL screenshot run: driver $rc; $verdict"
fi
ls "$out/shots"/*.png 2>/dev/null | sed 's/^/screenshot: /'
echo "${#fixtures[@]} fixture runs and the screenshot run took $(($(date +%s) - started)) s"
wineserver -w
exit "$failed"
