#!/usr/bin/env bash
# command_line.sh options PROGRAM VERSION | failure PROGRAM
#   options   each option's exit status and first lines, with no display
#   failure   --print and --json in a network namespace without adapters: the failure's text and
#             exit status 1 (needs root to make the namespace)
set -uo pipefail
command=$1 program=$2
skip() { echo "SKIP: $*"; exit 77; }
unset DISPLAY WAYLAND_DISPLAY
failed=0
# expect STATUS STDOUT STDERR ARGUMENT...: the exit status and each stream's first line.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
expect() {
  local status=$1 out=$2 err=$3 got code
  shift 3
  got=$("$program" "$@" 2>"$errors")
  code=$?
  got="$(head -n1 <<<"$got")|$code|$(head -n1 "$errors")"
  if [ "$got" != "$out|$status|$err" ]; then
    printf 'FAIL %s:\n  expected: %s\n  got:      %s\n' "$*" "$out|$status|$err" "$got"
    failed=1
  fi
}

if [ "$command" = options ]; then
  usage="Usage: QUIRNEL_ADDRVUE [OPTION]"
  expect 0 "$usage" "" --help
  expect 0 "$usage" "" -h
  expect 0 "QUIRNEL_ADDRVUE $3" "" --version
  expect 0 "QUIRNEL_ADDRVUE $3" "" -v
  expect 0 "$usage" "" --print --help
  expect 2 "" "QUIRNEL_ADDRVUE: Unknown option 'bogus'." --bogus
  expect 2 "" "QUIRNEL_ADDRVUE: Unknown option 'platform'." -platform offscreen
  expect 2 "" "QUIRNEL_ADDRVUE: Unexpected argument 'extra'." extra
  expect 2 "" "QUIRNEL_ADDRVUE: --print and --json cannot be given together." --print --json
  # The usage follows the error line on standard error.
  [ "$("$program" --bogus 2>&1 >/dev/null | sed -n 2p)" = "$usage" ] ||
    { echo "FAIL: no usage after the error"; failed=1; }
  exit $failed
fi

[ "$command" = failure ] || { echo "usage: command_line.sh options|failure PROGRAM [VERSION]"; exit 2; }
[ "$(id -u)" -eq 0 ] && unshare --net true 2>/dev/null || skip "needs root to make a network namespace"
# Only a loopback link: the adapter query answers 232 (no data).
printed=$(unshare --net "$program" --print)
status=$?
[ $status -eq 1 ] && [ "$(tail -n1 <<<"$printed")" = "GetAdaptersInfo sizing failed with error 232" ] ||
  { echo "FAIL: --print ended with status $status and:"; tail -n3 <<<"$printed"; failed=1; }
document=$(unshare --net "$program" --json)
status=$?
error=$(/usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); print(d["error"], d["adapters"], d["host"] is None)' <<<"$document")
[ $status -eq 1 ] && [ "$error" = "GetAdaptersInfo sizing failed with error 232 [] False" ] ||
  { echo "FAIL: --json ended with status $status and: $error"; failed=1; }
exit $failed
