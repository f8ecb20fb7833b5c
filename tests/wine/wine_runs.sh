#!/usr/bin/env bash
# wine_runs.sh COMMAND ARCH PREFIX [BUILD OUT]: QUIRNEL_ADDRVUE.exe under Wine on a virtual
# display, each run clicked through by the UI driver (ui_driver.exe, which checks the window
# itself). ARCH is win32 (the i686 build, Wine's 32-bit loader) or win64 (the x64 build, Wine's
# 64-bit loader); BUILD is the build tree of that architecture's Windows preset.
#   prefix ARCH PREFIX     a fresh Wine prefix of that architecture shared by the runs
#   cleanup ARCH PREFIX    ends the prefix's Wine server and removes the prefix
#   fixtures ARCH PREFIX BUILD OUT
#       every shared fixture at once, answered by the stand-in iphlpapi.dll: each transcript must
#       equal the Linux report's (tests/fixtures/expected), but for the Next the third host item
#       shows. A fixture in a code page of its own (Shift-JIS) runs in a locale of that code
#       page. Some runs press Command1 from the keyboard, one closes the window during the
#       press; one more, first and alone, runs at 144 DPI and closes the window before the press.
#   options ARCH PREFIX BUILD OUT
#       the options without a window: --print and --json on a fixture, a failing query, /? and an
#       unknown option, their output redirected to files.
#   own ARCH PREFIX BUILD OUT
#       one run on Wine's own IP Helper in a network namespace set up here, pressed with Space:
#       its transcript must be own_ip_helper.jsonl. Alone on its display, it checks the focus,
#       takes the screenshots OUT/shots/windows-{start,box1,pause}.png, sees Text2 on the window
#       colour in the pause, and that the pause leaves the processor idle.
# Where the machine lacks what a command needs, it exits with 77 and says why.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/virtual_display.sh"

# require_loader LOADER PACKAGE REASON: some kernels refuse every 32-bit x86 program, and an ARM
# machine every x86 one: starting the loader then fails with "Exec format error" (status 126)
# before Wine itself runs. Only that answer means the machine lacks the capability; any other
# failure is left for the test to meet and report.
require_loader() {
  local output status=0
  [ -x "$1" ] || skip "needs Wine's loader $1 (Debian $2)"
  output=$("$1" --version 2>&1) || status=$?
  [ "$status" -ne 126 ] || [[ $output != *"Exec format error"* ]] || skip "$3"
}

command=$1 arch=$2 prefix=$3 driver_options=()
export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all
if [ "$command" = cleanup ]; then
  wineserver -k 2>/dev/null || true
  exec rm -rf "$prefix"
fi
command -v wineserver >/dev/null || skip "needs wineserver (Debian wine) to run QUIRNEL_ADDRVUE.exe"
if [ "$arch" = win32 ]; then
  loader=wine
  command -v wine >/dev/null || skip "needs wine (Debian wine) to run QUIRNEL_ADDRVUE.exe"
  require_loader /usr/lib/wine/wine wine32:i386 \
    "this machine cannot run 32-bit x86 programs, so QUIRNEL_ADDRVUE.exe is not run under Wine"
else
  # The x64 build runs on Wine's 64-bit loader, called directly: the wine launcher would pick
  # the 32-bit one whenever it is installed, even where it cannot run.
  export WINELOADER=/usr/lib/wine/wine64
  loader=$WINELOADER
  require_loader "$loader" wine64 \
    "this machine cannot run Wine's 64-bit loader, so the x64 QUIRNEL_ADDRVUE.exe is not run under Wine"
  # Every result buffer above 4 GiB, so that every reference needs all its 64 bits.
  driver_options=(--above-4gib)
fi

# A program started from now on sees this DPI.
set_dpi() {
  "$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}

if [ "$command" = prefix ]; then
  unset DISPLAY
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  "$loader" wineboot -i >/dev/null 2>&1
  # Unmanaged windows: without a window manager, every closed window would stall 2 s.
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
  set_dpi 96
  wineserver -w
  echo "Wine prefix ready: $prefix"
  exit 0
fi

build=$4 out=$5
require_programs Xvfb import
driver=$build/tests/wine/ui_driver.exe
[ -d "$prefix" ] || "$0" prefix "$arch" "$prefix"
rm -rf "$out"
mkdir -p "$out/app"
cp "$build/QUIRNEL_ADDRVUE.exe" "$out/app/" || { echo "FAIL: build the Windows preset of $arch"; exit 1; }
# Z:\the\unix\path, as a Windows program sees it.
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
app=$(windows_path "$out/app/QUIRNEL_ADDRVUE.exe")

# options: no window, output redirected to files. --print and --json answered by the stand-in
# iphlpapi.dll (print_three_dns_two_adapters.txt holds the Linux build's --print of that fixture),
# a failing query, /? and an unknown option.
if [ "$command" = options ]; then
  cp "$build/tests/wine/standin/iphlpapi.dll" "$out/app/"
  export WINEDLLOVERRIDES=iphlpapi=n,b
  unset DISPLAY
  failed=0
  # run FIXTURE OUTPUT ARGUMENT...: the program's standard output (CRs dropped) into OUTPUT and its
  # standard error into OUTPUT.err; prints the exit status.
  run() {
    local status=0
    ADDRVUE_FIXTURE=$1 "$loader" "$app" "${@:3}" >"$out/$2" 2>"$out/$2.err" || status=$?
    sed -i 's/\r$//' "$out/$2" "$out/$2.err"
    echo "$status"
  }
  expect() { [ "$2" = "$3" ] || { echo "FAIL $1: $(printf '%q' "$3")"; failed=1; }; }
  next_as_word() { sed -E 's/^[1-9][0-9]*$/Next/' "$1"; }
  expect "--print status" 0 "$(run three_dns_two_adapters print --print)"
  diff <(next_as_word "$here/print_three_dns_two_adapters.txt") <(next_as_word "$out/print") ||
    { echo "FAIL: --print differs (< expected, > printed)"; failed=1; }
  expect "--json status" 0 "$(run three_dns_two_adapters json --json)"
  expect "--json" "2 3 None" "$(/usr/bin/python3 -c 'import json, sys; d = json.load(sys.stdin)
print(len(d["adapters"]), len(d["host"]["DnsServerList"]), d["error"])' <"$out/json")"
  expect "a failing query's status" 1 "$(run adapters_sizing_87 failure --print)"
  expect "a failing query's text" "GetAdaptersInfo sizing failed with error 87" "$(tail -n1 "$out/failure")"
  expect "/?" "0 Usage: QUIRNEL_ADDRVUE [OPTION]" "$(run "" help '/?') $(head -n1 "$out/help")"
  expect "--bogus" "2 QUIRNEL_ADDRVUE: Unknown option 'bogus'." "$(run "" bogus --bogus) $(head -n1 "$out/bogus.err")"
  [ "$failed" -ne 0 ] || echo "ok   options"
  exit "$failed"
fi

# drive NAME DRIVER_OPTION...: one run in the background; the transcript goes to OUT/NAME.jsonl
# and the driver's notes to OUT/NAME.err.
declare -A runs
drive() {
  local name=$1
  shift
  timeout 150 "$loader" "$driver" "${driver_options[@]}" "$@" "$app" >"$out/$name.jsonl" \
    2>"$out/$name.err" &
  runs[$name]=$!
}
# The third host item shows the DNS list's Next in Text1: an address on Windows, an offset on
# Linux. Either is "Next" here, unless it is 0.
next_as_word() { sed -E 's/"Text1":"[1-9][0-9]*"/"Text1":"Next"/' "$1"; }
# verdict NAME [EXPECTED]: the driver's checks held (the program ended with 0 among them), and
# the transcript is the one expected.
failed=0
verdict() {
  local name=$1 problem=
  wait "${runs[$name]}" || problem="the driver failed ($?)"
  if [ $# -gt 1 ] && ! diff <(next_as_word "$2") <(next_as_word "$out/$name.jsonl") >"$out/$name.diff"; then
    problem+=" the transcript differs from $2 (< expected, > shown): $(head -n 6 "$out/$name.diff" | cut -c1-300)"
  fi
  if [ -n "$problem" ]; then
    failed=1
    echo "FAIL $name:$problem"
    sed 's/^/    /' "$out/$name.err"
  else
    echo "ok   $name$(tr -d '\r' <"$out/$name.err" | sed -n 's/^pause/: pause/p')"
  fi
}

finish() {
  wineserver -k 2>/dev/null || true
  stop_virtual_display
  [ -z "${namespace:-}" ] || ip netns del "$namespace" 2>/dev/null || true
}
trap finish EXIT

if [ "$command" = fixtures ]; then
  cp "$build/tests/wine/standin/iphlpapi.dll" "$out/app/"
  export WINEDLLOVERRIDES=iphlpapi=n,b
  start_virtual_display
  started=$(date +%s)
  # First and alone: at 144 DPI, closed before the press.
  set_dpi 144
  drive dpi144 --dpi=144 --close=start --alone
  verdict dpi144
  set_dpi 96
  # How some of the runs press Command1, or close the window. Space is pressed only in the run
  # alone on its display (own): a button held down by Space lets go without a click when it loses
  # the focus before the key comes up, and here each new window takes the focus from the others.
  declare -A how=([node_mixed]=--press=return [node_type_0]=--press=enter
    [three_dns_two_adapters]=--close=during-click)
  # A fixture whose texts are in a code page of its own ("codePage") runs where that is Wine's
  # ANSI code page: the system's locale (LC_CTYPE) gives it; the user's (LC_MESSAGES), whose
  # date words the transcripts hold, stays English.
  declare -A code_page_locale=([932]=ja_JP.UTF-8) code_page=()
  while read -r name page; do code_page[$name]=$page; done < <(/usr/bin/python3 -c '
import json, sys
for name, fixture in json.load(open(sys.argv[1]))["fixtures"].items():
    if "codePage" in fixture:
        print(name, fixture["codePage"])' "$here/../fixtures/fixtures.json")
  unset LC_ALL
  expected=$(cd "$here/../fixtures/expected" && pwd)
  for f in "$expected"/*.jsonl; do
    name=$(basename "$f" .jsonl) ctype=${LC_CTYPE:-${LANG:-C}}
    if [ -n "${code_page[$name]:-}" ]; then
      ctype=${code_page_locale[${code_page[$name]}]:-}
      if [ -z "$ctype" ] || ! locale -a | grep -qix "${ctype/UTF-8/utf8}"; then
        echo "SKIP: $name needs a locale of code page ${code_page[$name]} (scripts/setup makes ja_JP.UTF-8)"
        continue
      fi
    fi
    LC_CTYPE=$ctype LC_MESSAGES=C ADDRVUE_FIXTURE=$name drive "$name" ${how[$name]:-}
  done
  for f in "$expected"/*.jsonl; do
    name=$(basename "$f" .jsonl)
    [ -z "${runs[$name]:-}" ] || verdict "$name" "$f"
  done
  echo "${#runs[@]} runs took $(($(date +%s) - started)) s"
  wineserver -w
  exit "$failed"
fi

[ "$command" = own ] || { echo "usage: wine_runs.sh prefix|cleanup|fixtures|options|own win32|win64 ..."; exit 2; }
[ "$(id -u)" -eq 0 ] || skip "needs root to create network namespaces"
command -v ip >/dev/null && command -v unshare >/dev/null || skip "needs iproute2 and unshare"
# One Ethernet link (a veth pair with both ends inside) with an address, a mask and a gateway.
namespace=addrvue-wine-$$
ip netns add "$namespace" || skip "cannot create network namespaces here"
printf '%s\n' 'link set lo up' \
  'link add eth0 address 02:00:0a:4d:05:02 type veth peer name eth1 address 02:00:0a:4d:05:01' \
  'address add 10.77.5.2/24 dev eth0' 'link set eth0 up' 'link set eth1 up' \
  'route add default via 10.77.5.1' | ip -n "$namespace" -batch -
printf 'nameserver 10.77.5.53\nnameserver 10.77.5.54\nsearch example.test\n' >"$out/resolv.conf"
mkdir -p "$out/shots" "$out/hold"
start_virtual_display
# Wine takes its view of the network where its server starts: start it inside the namespace,
# with a host name of its own and the resolv.conf above.
wineserver -k 2>/dev/null || true
wineserver -w
ip netns exec "$namespace" unshare --uts --mount sh -c \
  'hostname addrvue-wine && mount --bind "$0" /etc/resolv.conf && exec "$@"' "$out/resolv.conf" \
  timeout 150 "$loader" "$driver" "${driver_options[@]}" --press=space --alone \
  --hold="$(windows_path "$out/hold")" "$app" \
  >"$out/own.jsonl" 2>"$out/own.err" &
runs[own]=$!
# Processor time of the Wine server and the program: a pause that polls without waiting keeps
# them both busy, since every poll is a request to the server. Only this prefix's server and
# program count: other Wine runs on the machine have servers and programs of their own.
of_this_prefix() {
  for pid; do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
    fi
  done
}
busy_ticks() { cpu_ticks $(of_this_prefix $(pgrep '^wineserver') $(pgrep '^QUIRNEL_ADDRVUE')); }
problems=
for point in start box1 pause closing; do
  for _ in $(seq 1200); do grep -qs "^hold $point" "$out/own.err" && break; sleep 0.05; done
  if [ "$point" = closing ]; then
    pause_busy=$((($(busy_ticks) - pause_ticks) * 100 / $(getconf CLK_TCK)))
  else
    sleep 0.5  # let the window finish painting
    import -window root "$out/shots/screen-$point.png" || true
    # The window alone (the screen around it is black).
    convert "$out/shots/screen-$point.png" -trim +repage "$out/shots/windows-$point.png" || true
  fi
  if [ "$point" = pause ]; then
    # Away from its grey text, the disabled Text2 shows the window colour.
    read -r x y red green blue < <(tr -d '\r' <"$out/own.err" | sed -n 's/^Text2 blank at //p')
    shown=$(screen_pixel "$x" "$y") colour=$(printf '#%02X%02X%02X' "$red" "$green" "$blue")
    [ "$shown" = "$colour" ] || problems+=" Text2 at $x,$y is $shown, not the window colour $colour;"
  fi
  pause_ticks=$(busy_ticks)
  touch "$out/hold/$point.go"
done
verdict own "$here/own_ip_helper.jsonl"
echo "the pause kept the Wine server and the program busy for $pause_busy hundredths of a second"
[ "$pause_busy" -lt 200 ] || problems+=" the pause kept the processor busy;"
[ -z "$problems" ] || { failed=1; echo "FAIL:$problems"; }
ls "$out/shots"/windows-*.png | sed 's/^/screenshot: /'
wineserver -w
exit "$failed"
