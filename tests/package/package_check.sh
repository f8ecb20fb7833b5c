#!/usr/bin/env bash
# The release's Debian package as a Debian user meets it:
#   lintian    Debian's package checker finds no error and no warning (the package carries no
#              overrides);
#   install    apt-get installs it, with what it declares and nothing it only recommends, into a
#              fresh Debian 12 root (mmdebstrap minbase on a tmpfs, in a private mount namespace),
#              from the Debian 12 sources of this machine's apt;
#   start      there the installed program shows its window Form1 on a virtual display, and
#              answers --version in a plain terminal where its manual page offers that option.
#
#   package_check.sh PACKAGE.deb
#
# Ends with "package: N passed, N failed, N skipped". Without root, mmdebstrap, the X tools or a
# Debian mirror that answers, the install and start are skipped with the reason; the status is
# then 77 if nothing failed.
set -euo pipefail
self=$(realpath "$0")
program=/usr/bin/QUIRNEL_ADDRVUE
. "$(dirname "$self")/../support/virtual_display.sh"

# The start in an installed ROOT, mounted up by mmdebstrap (/proc, /sys, /dev), which calls it as
# its last customize hook. The virtual display's abstract socket reaches into the chroot.
start_in() {
  local root=$1 app shown=0 manual answer
  chroot "$root" env -i DISPLAY="$DISPLAY" HOME=/root "$program" >"$root/tmp/window.log" 2>&1 &
  app=$!
  timeout 60 xdotool search --sync --onlyvisible --name '^Form1$' >/dev/null && shown=1
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  if [ "$shown" = 0 ]; then
    cat "$root/tmp/window.log"
    echo "FAILED: the installed program showed no window Form1 within 60 s"
    return 1
  fi
  echo "start: the installed program shows Form1"
  manual=$root/usr/share/man/man1/QUIRNEL_ADDRVUE.1.gz
  [ -f "$manual" ] && zgrep -qE '(\\-|-)(\\-|-)version' "$manual" || return 0
  if ! answer=$(chroot "$root" env -i PATH=/usr/bin:/bin timeout 20 "$program" --version) ||
    [ -z "$answer" ]; then
    echo "FAILED: $program --version in a terminal: '$answer'"
    return 1
  fi
  echo "start: $program --version says: $answer"
}
if [ "${1:-}" = --start-in ]; then
  start_in "$2"
  exit
fi

deb=$(realpath "$1")
# One line for each check; these replace virtual_display.sh's skip, which ends the script.
passed=0 failed=0 skipped=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
skip() { echo "SKIP: $*"; skipped=$((skipped + 1)); }

# This machine's Debian 12 sources (bookworm, its updates and security), as sources.list lines.
sources=$(apt-get indextargets --format '$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)' \
  'Identifier: Packages' | awk '$1 == "deb" && $3 ~ /^bookworm(-updates|-security)?$/' | sort -u)

# The first reason this machine cannot build a root and start the program in it, if any.
install_lacks() {
  local p mirror probe
  [ "$(id -u)" -eq 0 ] || { echo "needs root to build a Debian root and chroot into it"; return; }
  for p in mmdebstrap Xvfb xdotool; do
    command -v "$p" >/dev/null || { echo "needs $p (scripts/setup installs it)"; return; }
  done
  mirror=$(awk '$3 == "bookworm" { print $2; exit }' <<<"$sources")
  [ -n "$mirror" ] || { echo "this machine's apt has no Debian 12 (bookworm) source"; return; }
  probe=$(mktemp)
  timeout 30 /usr/lib/apt/apt-helper download-file "${mirror}dists/bookworm/Release" "$probe" \
    >/dev/null 2>&1 || echo "cannot reach the Debian mirror $mirror for the package's dependencies"
  rm -f "$probe"
}

# A fresh Debian 12 root in memory, the package installed into it and started there. Whatever is
# mounted ends with the private mount namespace.
install_and_start() {
  local target status=0
  target=$(mktemp -d)
  unshare --mount --propagation private -- sh -c '
    mount -t tmpfs -o size=2g addrvue-root "$1" &&
    exec mmdebstrap --variant=minbase --mode=root --quiet \
      --customize-hook="copy-in $2 /tmp" \
      --customize-hook="chroot \"\$1\" apt-get install -q -y --no-install-recommends /tmp/$3" \
      --customize-hook="$4 --start-in \"\$1\"" \
      bookworm "$1" "$5"' \
    sh "$target" "$deb" "$(basename "$deb")" "$self" "$sources" || status=$?
  rmdir "$target"
  return "$status"
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
  if install_and_start >"$log" 2>&1; then
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
