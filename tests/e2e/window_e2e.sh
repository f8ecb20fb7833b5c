#!/usr/bin/env bash
# The built program on a virtual X display framed by a real window manager (openbox), used as a
# person would: start it, press Command1 with the Return key (it has the focus), close every box
# with Return, sit through the pause, close the closing box with its title bar's close button, and
# see the process end with status 0. Saves screenshots of the phases, frames and title bars
# included, and checks that the pause keeps the processor idle and shows Text2 on the text box
# background; that the window can be minimised and maximised and no box can be maximised; and that
# the first box's title bar, read back with tesseract, shows the whole title, with no box narrower.
#
#   window_e2e.sh PROGRAM [SCREENSHOT_DIR]     (ADDRVUE_SCREENSHOT_DIR overrides the directory)
#
# Skipped (77) when the X tools are missing or openbox cannot start.
set -euo pipefail

program=$1
shots=${ADDRVUE_SCREENSHOT_DIR:-${2:-.}}
title='^VELKOR_NX$'

. "$(dirname "$0")/../support/virtual_display.sh"
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
require_programs Xvfb xdotool xwininfo import xprop tesseract
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
start_window_manager
now() { date +%s%3N; }  # milliseconds
# The id of the next visible box, waiting at most $1 seconds; empty when none came.
next_box() {
  timeout "$1" xdotool search --sync --onlyvisible --name "$title" 2>/dev/null | head -n1 || true
}
# Waits until window $1 is no longer shown.
wait_gone() {
  timeout 5 sh -c 'while xwininfo -id "$0" 2>/dev/null | grep -q IsViewable; do sleep 0.05; done' \
    "$1" || fail "box $1 stayed open after Enter"
}
# Waits until window $1 has the focus, as the window manager reports it.
wait_active() {
  timeout 5 sh -c 'until xprop -root _NET_ACTIVE_WINDOW | grep -q "$0\$"; do sleep 0.05; done' \
    "$(printf 0x%x "$1")" || fail "window $1 did not get the focus"
}
# The colour of the screen's pixel at client coordinates X Y, as #RRGGBB.
pixel() { screen_pixel $((left + $1)) $((top + $2)); }
# Whether Picture1 is shown: the top-left pixel of its interior is the bitmap's dark red corner
# instead of the window's grey.
picture_shown() { [ "$(pixel 418 106)" = '#800000' ]; }
# Screenshot of the main window's area of the screen, its frame and a box in front of it included.
shot() {
  local size=$((width + frame_left + frame_right))x$((height + frame_top + frame_bottom))
  import -window root -crop "$size+$((left - frame_left))+$((top - frame_top))" +repage \
    "$shots/$1.png"
}
# The title bar of window $1 (above its client area, inside the frame's border), scaled up for
# tesseract, as the text it reads.
title_bar_text() {
  local x y w border bar _ geometry
  geometry=$(framed_geometry "$1") || fail "the window manager framed box $1 with no title bar"
  read -r x y w _ border _ bar _ <<<"$geometry"
  import -window root -crop "${w}x$((bar - border))+$x+$((y - bar + border))" +repage png:- |
    convert - -scale 400% "$work/title.png"
  tesseract "$work/title.png" stdout --psm 7 2>/dev/null
}

"$program" 2>"$work/program.log" &
app_pid=$!

form=$(timeout 15 xdotool search --sync --onlyvisible --name '^Form1$' | head -n1) ||
  fail "the window Form1 did not appear"
read -r left top width height frame_left frame_right frame_top frame_bottom \
  <<<"$(window_geometry "$form")"
echo "Form1: ${width}x${height} at ${left},${top}"
[ "$width" = 677 ] && [ "$height" = 406 ] || fail "client area ${width}x${height}, not 677x406"
off_centre=$(((1024 - width) / 2 - left))
[ "${off_centre#-}" -le 1 ] || fail "window not centred on the 1024x768 screen (left $left)"
sleep 0.5
# The empty Text1's background, inside its frame.
text_box_background=$(pixel 20 380)
xdotool windowactivate --sync "$form"
wait_active "$form"
shot 1-before-press
xdotool key Return

# The report: each box closed with Enter as soon as it shows, until Picture1 appears, which
# means the report is over and the pause has begun.
boxes=0
last_close=$(now)
cpu_at_last_close=$(cpu_ticks "$app_pid")
box=$(next_box 10)
[ -n "$box" ] || fail "no box appeared after Return"
# Read once the window manager has drawn the title bar.
for _ in 1 2 3 4 5; do
  sleep 0.3 && title_read=$(title_bar_text "$box") && [[ "$title_read" == *VELKOR_NX* ]] && break
done
[[ "$title_read" == *VELKOR_NX* ]] || fail "the box's title bar reads '$title_read', not VELKOR_NX"
first_width=
while true; do
  if [ -n "$box" ]; then
    boxes=$((boxes + 1))
    # What the window manager allows each box, and the width the box keeps (its only one).
    hints=$(xprop -id "$box" _NET_WM_ALLOWED_ACTIONS WM_NORMAL_HINTS)
    [[ $hints != *MAXIMIZE* && $hints =~ minimum\ size:\ ([0-9]+) ]] || fail "box $boxes: $hints"
    first_width=${first_width:-${BASH_REMATCH[1]}}
    [ "${BASH_REMATCH[1]}" -ge "$first_width" ] || fail "box $boxes is narrower than the first"
    # The first box, replaced every tenth one: a long report leaves one from well into it.
    [ $((boxes % 10)) = 1 ] && shot 2-report-box
    xdotool key Return
    wait_gone "$box"
    last_close=$(now)
    cpu_at_last_close=$(cpu_ticks "$app_pid")
  elif picture_shown; then
    break
  elif [ $(($(now) - last_close)) -gt 15000 ]; then
    fail "neither a box nor the pause 15 s after the last box"
  fi
  box=$(next_box 1)
done
echo "report: $boxes boxes, the first $first_width px wide, its title bar read '$title_read'"
wait_active "$form"
shot 3-pause
# The disabled Text2, left of its centred text, keeps the text box background.
[ "$(pixel 22 293)" = "$text_box_background" ] ||
  fail "Text2 in the pause is $(pixel 22 293), not the text box background $text_box_background"

# The closing box comes 20 s after the pause began.
box=$(next_box 40)
[ -n "$box" ] || fail "no closing box within 40 s of the pause"
pause=$(($(now) - last_close))
pause_cpu=$((($(cpu_ticks "$app_pid") - cpu_at_last_close) * 1000 / $(getconf CLK_TCK)))
echo "pause: $pause ms, processor time $pause_cpu ms"
shot 4-closing-box
[ "$pause" -ge 19900 ] && [ "$pause" -lt 25000 ] || fail "the pause lasted $pause ms"
[ "$pause_cpu" -lt 500 ] || fail "the pause used $pause_cpu ms of processor"

# Closed with the button at the right end of its title bar (openbox's layout ends with close),
# once openbox has framed the box. A click the box did not take (it still shows) is made again;
# a box gone with the program still running is a failure.
for _ in 1 2 3; do
  geometry=$(framed_geometry "$box") || fail "openbox gave the closing box no title bar"
  read -r x y w _ _ _ bar _ <<<"$geometry"
  xdotool mousemove $((x + w - bar / 2)) $((y - bar / 2)) click 1
  timeout 2 sh -c 'while xwininfo -id "$0" 2>/dev/null | grep -q IsViewable; do sleep 0.05; done' \
    "$box" && break
done
status=0
timeout 30 tail --pid="$app_pid" -f /dev/null ||
  fail "the program did not end after the closing box's close button"
wait "$app_pid" || status=$?
app_pid=
[ "$status" = 0 ] || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "ended with status 0; screenshots in $shots"
