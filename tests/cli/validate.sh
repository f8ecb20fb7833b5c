#!/usr/bin/env bash
# validate.sh PROGRAM PACKAGE ARGUMENT...: runs a validator; it fails on any error or warning it
# prints, and skips where the validator is not installed.
set -uo pipefail
program=$1 package=$2
shift 2
command -v "$program" >/dev/null || { echo "SKIP: needs $program (Debian $package)"; exit 77; }
output=$("$program" "$@" 2>&1)
status=$?
echo "$output"
[ $status -eq 0 ] && ! grep -qiE '(^|: )(error|warning)' <<<"$output"
