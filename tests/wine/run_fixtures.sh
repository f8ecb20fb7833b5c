#!/usr/bin/env bash
# run_fixtures.sh PREFIX WINDOWS_BUILD FIXTURE_TRANSCRIPT OUT [FIXTURE...]
#
# Runs QUIRNEL_ADDRVUE.exe under Wine against the stand-in iphlpapi.dll once per fixture (every
# fixture when none is named), each run clicked through by its own UI driver, all at the same
# time (each includes the 20-second pause). Each run must reach the closing box and exit with
# code 0, and its transcript must equal the Linux report's for that fixture. One more run has
# its window closed as soon as the pause begins, which must not shorten the pause; another has
# it closed before the click, which ends the program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_common.sh"
require_wine
require_programs Xvfb

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
mkdir -p "$out/app"
cp "$exe" "$standin" "$out/app/"
app=$(windows_path "$out/app/QUIRNEL_ADDRVUE.exe")

cleanup() {
  wineserver -k 2>/dev/null || true
  stop_virtual_display
}
trap cleanup EXIT

start_virtual_display

# check_run OUTPUT_NAME FIXTURE DRIVER_PID: the run reached the closing box, the program exited
# with 0, and the transcript equals the Linux one.
failed=0
check_run() {
  local name=$1 fixture=$2 pid=$3 rc=0 verdict exit_line
  wait "$pid" || rc=$?
  "$transcript_tool" "$fixture" >"$out/$name.linux.jsonl"
  verdict=$(/usr/bin/python3 "$here/compare_transcripts.py" "$out/$name.jsonl" \
    "$out/$name.linux.jsonl" || true)
  exit_line=$(tr -d '\r' <"$out/$name.err" | grep -E '^exit [0-9]+$' | tail -1 || true)
  if [ "$rc" -ne 0 ] || [ "$exit_line" != "exit 0" ] || [[ $verdict != OK:* ]]; then
    failed=1
    echo "FAIL $name: driver $rc, program ${exit_line:-did not end}; $verdict"
    sed 's/^/    /' "$out/$name.err"
  else
    echo "ok   $name: $verdict; $(tr -d '\r' <"$out/$name.err" | grep '^pause')"
  fi
}

started=$(date +%s)
pids=()
for f in "${fixtures[@]}"; do
  ADDRVUE_FIXTURE=$f timeout 150 wine "$driver" "$app" >"$out/$f.jsonl" 2>"$out/$f.err" &
  pids+=($!)
done
# A run whose window is closed as soon as the pause begins: the pause still lasts 20 s.
ADDRVUE_FIXTURE=one_dns_one_adapter timeout 150 \
  wine "$driver" --close-in-pause "$app" >"$out/closed_in_pause.jsonl" 2>"$out/closed_in_pause.err" &
closed_pid=$!
# A run whose window is closed before the click: the program ends with code 0, showing nothing.
ADDRVUE_FIXTURE=one_dns_one_adapter timeout 150 \
  wine "$driver" --close-at-start "$app" >"$out/closed_at_start.jsonl" 2>"$out/closed_at_start.err" &
closed_at_start_pid=$!

for i in "${!fixtures[@]}"; do
  check_run "${fixtures[$i]}" "${fixtures[$i]}" "${pids[$i]}"
done
check_run closed_in_pause one_dns_one_adapter "$closed_pid"
rc=0; wait "$closed_at_start_pid" || rc=$?
exit_line=$(tr -d '\r' <"$out/closed_at_start.err" | grep -E '^exit [0-9]+$' | tail -1 || true)
if [ "$rc" -ne 0 ] || [ "$exit_line" != "exit 0" ] || [ -s "$out/closed_at_start.jsonl" ]; then
  failed=1
  echo "FAIL closed_at_start: driver $rc, program ${exit_line:-did not end}, boxes shown:"
  sed 's/^/    /' "$out/closed_at_start.jsonl" "$out/closed_at_start.err"
else
  echo "ok   closed_at_start: the program ended with code 0 and showed no box"
fi
echo "${#fixtures[@]} fixture runs and two with the window closed took $(($(date +%s) - started)) s"
wineserver -w
exit "$failed"
