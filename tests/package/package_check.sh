#!/usr/bin/env bash
# The release's Debian package as a Debian user meets it:
#   lintian    Debian's package checker finds no error and no warning (the package carries no
#              overrides);
#   install    apt-get installs it, with what it declares and nothing it only recommends, into a
#              fresh Debian 12 root (mmdebstrap minbase on a tmpfs, in a private mount namespace);
#   start      the installed program shows its window Form1 on a virtual display, and answers
#              --version in a plain terminal where its manual page offers that option.
#
#   package_check.sh PACKAGE.deb
#
# Ends with "package: N passed, N failed, N skipped". Without root, mmdebstrap, the X tools or
# Debian's mirror (ADDRVUE_DEBIAN_MIRROR, deb.debian.org by default) the checks that need them are
# skipped with the reason; the status is then 77 if nothing failed.
set -euo pipefail

mirror=${ADDRVUE_DEBIAN_MIRROR:-http://deb.debian.org/debian}
self=$(realpath "$0")
here=$(dirname "$self")
program=/usr/bin/QUIRNEL_ADDRVUE
. "$here/../support/virtual_display.sh"

# The checks on an installed root, called back by mmdebstrap as its last customize hook (ROOT is
# mounted up: /proc, /sys, /dev). The virtual display's abstract socket reaches into the chroot.
if [ "${1:-}" = --start-in ]; then
  root=$2
  chroot "$root" env -i DISPLAY="$DISPLAY" HOME=/root "$program" >"$root/tmp/window.log" 2>&1 &
  app=$!
  started=0
  timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' >/dev/null && started=1
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  [ "$started" = 1 ] || { cat "$root/tmp/window.log"; echo "FAILED: no window Form1 from the installed program"; exit 1; }
  echo "start: the installed program shows Form1"
  manual=$root/usr/share/man/man1/QUIRNEL_ADDRVUE.1.gz
  if [ -f "$manual" ] && zgrep -qE '(\\-|-)(\\-|-)version' "$manual"; then
    answer=$(chroot "$root" env -i PATH=/usr/bin:/bin timeout 20 "$program" --version) ||
      { echo "FAILED: $program --version in a terminal"; exit 1; }
    [ -n "$answer" ] || { echo "FAILED: $program --version printed nothing"; exit 1; }
    echo "start: $program --version says: $answer"
  fi
  exit 0
fi

deb=$(realpath "$1")
# One line for each check; these replace virtual_display.sh's skip, which ends the script.
passed=0 failed=0 skipped=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
skip() { echo "SKIP: $*"; skipped=$((skipped + 1)); }

# The first reason this machine cannot build a root and start the program in it, if any.
install_lacks() {
  [ "$(id -u)" -eq 0 ] || { echo "needs root to build a Debian root and chroot into it"; return; }
  local p
  for p in mmdebstrap Xvfb xdotool; do
    command -v "$p" >/dev/null || { echo "needs $p (scripts/setup installs it)"; return; }
  done
  timeout 30 /usr/lib/apt/apt-helper download-file "$mirror/dists/bookworm/Release" \
    "$(mktemp -u)" >/dev/null 2>&1 ||
    echo "cannot reach Debian's mirror $mirror to resolve the package's dependencies"
}

if lintian --fail-on error,warning -I "$deb"; then
  pass "lintian: no error, no warning"
else
  fail "lintian: the package has errors or warnings (above)"
fi

lacks=$(install_lacks)
if [ -n "$lacks" ]; then
  skip "the install into a fresh root and the start there: $lacks"
else
  start_virtual_display
  trap stop_virtual_display EXIT
  log=$(mktemp)
  # Everything mounted here ends with the namespace; the root lives in memory.
  if unshare --mount --propagation private -- sh -c '
      target=$(mktemp -d) && mount -t tmpfs -o size=2g addrvue-root "$target" &&
      exec mmdebstrap --variant=minbase --mode=root --quiet \
        --customize-hook="copy-in $1 /tmp" \
        --customize-hook="chroot \"\$1\" apt-get install -q -y --no-install-recommends /tmp/$2" \
        --customize-hook="$3 --start-in \"\$1\"" \
        bookworm "$target" "deb $4 bookworm main"' \
      sh "$deb" "$(basename "$deb")" "$self" "$mirror" >"$log" 2>&1; then
    grep -E '^(start|Setting up quirnel)' "$log"
    pass "install: apt-get installs it into a fresh Debian 12 root, and the program starts there"
  else
    tail -n 40 "$log"
    fail "install or start in a fresh Debian 12 root (above)"
  fi
  rm -f "$log"
fi

echo "package: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] || exit 1
[ "$skipped" -eq 0 ] || exit 77
