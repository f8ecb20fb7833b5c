#!/usr/bin/env bash
# own_ip_helper.sh PREFIX WINDOWS_BUILD OUT
#
# QUIRNEL_ADDRVUE.exe on Wine's own IP Helper, in a network namespace this test sets up: one
# Ethernet link (veth) with a known address and mask, a default gateway, a host name of its own
# (UTS namespace) and its own resolv.conf (bind-mounted in a private mount namespace). Wine takes
# its view of the network where its server starts, so the prefix's server is stopped first and
# started again inside the namespace. The transcript must show what the namespace holds.
# Alone on its display, the run also stops for screenshots of the window at start, with its first
# box and in the pause: OUT/shots/windows-{start,box1,pause}.png.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_common.sh"
require_wine
require_programs Xvfb import
[ "$(id -u)" -eq 0 ] || skip "needs root to create network namespaces"
command -v ip >/dev/null && command -v unshare >/dev/null || skip "needs iproute2 and unshare"

prefix=$1 build=$2 out=$3
exe=$build/QUIRNEL_ADDRVUE.exe
driver=$build/tests/wine/ui_driver.exe
for f in "$exe" "$driver"; do
  [ -f "$f" ] || { echo "FAIL: $f is missing: build the windows preset first"; exit 1; }
done
[ -d "$prefix" ] || "$here/make_prefix.sh" "$prefix"
wine_env "$prefix"
unset WINEDLLOVERRIDES

host=addrvue-wine
address=10.77.5.2 gateway=10.77.5.1 dns1=10.77.5.53 dns2=10.77.5.54
ns=addrvue-wine-$$ peer=addrvue-wpeer-$$

rm -rf "$out"
mkdir -p "$out/shots" "$out/hold"
printf 'nameserver %s\nnameserver %s\nsearch example.test\n' "$dns1" "$dns2" >"$out/resolv.conf"

cleanup() {
  wineserver -k 2>/dev/null || true
  stop_virtual_display
  ip netns del "$ns" 2>/dev/null || true
  ip netns del "$peer" 2>/dev/null || true
}
trap cleanup EXIT

ip netns add "$ns" || skip "cannot create network namespaces here"
ip netns add "$peer"
ip -n "$ns" link set lo up
ip -n "$ns" link add eth0 type veth peer name eth0 netns "$peer"
ip -n "$ns" link set eth0 address 02:00:0a:4d:05:02
ip -n "$ns" addr add "$address/24" dev eth0
ip -n "$ns" link set eth0 up
ip -n "$peer" addr add "$gateway/24" dev eth0
ip -n "$peer" link set eth0 up
ip -n "$ns" route add default via "$gateway"

start_virtual_display

wineserver -k 2>/dev/null || true
wineserver -w
started=$(date +%s)
rc=0
ip netns exec "$ns" unshare --uts --mount sh -c '
  hostname "$1" && mount --bind "$2" /etc/resolv.conf && exec timeout 150 wine "$3" --hold "$4" "$5"
' sh "$host" "$out/resolv.conf" "$driver" "$(windows_path "$out/hold")" "$(windows_path "$exe")" \
  >"$out/transcript.jsonl" 2>"$out/driver.err" &
driver_pid=$!
for point in start box1 pause; do
  for _ in $(seq 1200); do [ -e "$out/hold/$point.ready" ] && break; sleep 0.05; done
  if [ -e "$out/hold/$point.ready" ]; then
    sleep 0.5  # let the window finish painting
    # The whole screen, cut to the window (the screen around it is black).
    import -window root -trim +repage "$out/shots/windows-$point.png" || true
  fi
  touch "$out/hold/$point.go"
done
wait "$driver_pid" || rc=$?
wineserver -w
ls "$out/shots"/*.png 2>/dev/null | sed 's/^/screenshot: /'
echo "the run took $(($(date +%s) - started)) s"

exit_line=$(tr -d '\r' <"$out/driver.err" | grep -E '^exit [0-9]+$' | tail -1 || true)
if [ "$rc" -ne 0 ] || [ "$exit_line" != "exit 0" ]; then
  echo "FAIL: driver $rc, program ${exit_line:-did not end}"
  sed 's/^/    /' "$out/driver.err"
  exit 1
fi
# Alone on its display, the window is the active one: its focus must have been checked.
if ! grep -q '^start: focus on Command1' "$out/driver.err"; then
  echo "FAIL: the window at start was not active with the focus on Command1"
  sed 's/^/    /' "$out/driver.err"
  exit 1
fi
/usr/bin/python3 "$here/check_own_ip_helper.py" "$out/transcript.jsonl" \
  "$host" "$dns1" "$dns2" "$address" 255.255.255.0 "$gateway" 2-0-A-4D-5-2  # bytes without leading zeros
