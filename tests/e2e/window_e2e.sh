#!/usr/bin/env bash
# The built program on a virtual X display, used as a person would: start it, press Command1 with
# the Return key (it has the focus), close every box with Return, sit through the pause, close the
# closing box, and see the process end with status 0. Saves screenshots of the phases and checks
# that the pause keeps the processor idle and shows Text2 on the text box background.
#
#   window_e2e.sh PROGRAM [SCREENSHOT_DIR]     (ADDRVUE_SCREENSHOT_DIR overrides the directory)
#
# Skipped (77) when the X tools are missing.
set -euo pipefail

program=$1
shots=${ADDRVUE_SCREENSHOT_DIR:-${2:-.}}
title='^VELKOR_NX$'

. "$(dirname "$0")/../support/virtual_display.sh"
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
require_programs Xvfb xdotool xwininfo import
[ -x "$program" ] || fail "no program at $program"
mkdir -p "$shots"

work=$(mktemp -d)
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  stop_virtual_display
  rm -rf "$work"
}
trap cleanup EXIT
start_virtual_display || fail "no virtual display"
clock_ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat"; }
now() { date +%s.%N; }
# The id of the next visible box, waiting at most $1 seconds; empty when none came.
next_box() {
  timeout "$1" xdotool search --sync --onlyvisible --name "$title" 2>/dev/null | head -n1 || true
}
# Waits until window $1 is no longer shown.
wait_gone() {
  for _ in $(seq 100); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
    sleep 0.05
  done
  fail "box $1 stayed open after Enter"
}
# The colour of the screen's pixel at client coordinates X Y, as #RRGGBB.
pixel() {
  import -window root -crop "1x1+$((left + $1))+$((top + $2))" -depth 8 txt:- |
    grep -o '#[0-9A-Fa-f]\{6\}' | head -n1
}
# Whether Picture1 is shown: the top-left pixel of its interior is the bitmap's dark red corner
# instead of the window's grey.
picture_shown() { [ "$(pixel 418 106)" = '#800000' ]; }
# Screenshot of the main window's area of the screen (a box in front of it included).
shot() { import -window root -crop "${width}x${height}+${left}+${top}" +repage "$shots/$1.png"; }

"$program" 2>"$work/program.log" &
app_pid=$!

form=$(timeout 15 xdotool search --sync --onlyvisible --name '^Form1$' | head -n1) ||
  fail "the window Form1 did not appear"
eval "$(xdotool getwindowgeometry --shell "$form")"
left=$X top=$Y width=$WIDTH height=$HEIGHT
echo "Form1: ${width}x${height} at ${left},${top}"
[ "$width" = 677 ] && [ "$height" = 406 ] || fail "client area ${width}x${height}, not 677x406"
# Centred on the 1024x768 screen, give or take a pixel.
[ $(((1024 - width) / 2 - left)) -le 1 ] && [ $((left - (1024 - width) / 2)) -le 1 ] ||
  fail "window not centred horizontally (left $left)"
sleep 0.5
! picture_shown || fail "Picture1 is shown before the press"
# The empty Text1's background, inside its frame.
text_box_background=$(pixel 20 380)
shot 1-before-press

# Without a window manager nothing gives the window the keyboard; a person's desktop would.
xdotool windowfocus --sync "$form" key Return

# The report: each box closed with Enter as soon as it shows, until Picture1 appears, which
# means the report is over and the pause has begun.
boxes=0
last_close=$(now)
cpu_at_last_close=$(cpu_ticks)
box=$(next_box 10)
[ -n "$box" ] || fail "no box appeared after Return"
while true; do
  if [ -n "$box" ]; then
    boxes=$((boxes + 1))
    # The first box, replaced every tenth one: a long report leaves one from well into it.
    [ $((boxes % 10)) = 1 ] && shot 2-report-box
    xdotool key Return
    wait_gone "$box"
    last_close=$(now)
    cpu_at_last_close=$(cpu_ticks)
  elif picture_shown; then
    break
  elif awk -v a="$last_close" -v b="$(now)" 'BEGIN { exit !(b - a > 15) }'; then
    fail "neither a box nor the pause 15 s after the last box"
  fi
  box=$(next_box 1)
done
echo "report: $boxes boxes"
shot 3-pause
# The disabled Text2, left of its centred text, keeps the text box background.
[ "$(pixel 22 293)" = "$text_box_background" ] ||
  fail "Text2 in the pause is $(pixel 22 293), not the text box background $text_box_background"

# The closing box comes 20 s after the pause began.
box=$(next_box 40)
[ -n "$box" ] || fail "no closing box within 40 s of the pause"
closing_at=$(now)
cpu_at_closing=$(cpu_ticks)
pause=$(awk -v a="$last_close" -v b="$closing_at" 'BEGIN { printf "%.2f", b - a }')
pause_cpu=$(awk -v a="$cpu_at_last_close" -v b="$cpu_at_closing" -v hz="$clock_ticks" \
  'BEGIN { printf "%.2f", (b - a) / hz }')
echo "pause: $pause s, processor time $pause_cpu s"
shot 4-closing-box
awk -v p="$pause" 'BEGIN { exit !(p >= 19.9 && p < 25) }' || fail "the pause lasted $pause s"
awk -v c="$pause_cpu" 'BEGIN { exit !(c < 0.5) }' || fail "the pause used $pause_cpu s of processor"
[ "$(xdotool getwindowname "$box")" = VELKOR_NX ] || fail "closing box title"

xdotool key Return
status=0
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "the program did not end after the closing box"
wait "$app_pid" || status=$?
app_pid=
[ "$status" = 0 ] || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "ended with status 0; screenshots in $shots"
