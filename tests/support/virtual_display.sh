# A private X display for the tests that run a real window (sourced). Defines:
#   skip REASON                  prints the reason and exits with ctest's skip code, 77
#   require_programs P...        skips unless every program is on PATH
#   start_virtual_display        starts Xvfb on a free display number and exports DISPLAY;
#                                the display ends with the calling shell (stop_virtual_display)
#   start_window_manager         starts openbox on that display, as a desktop frames windows;
#                                skips without openbox, fails when it does not take the display
#   window_geometry WINDOW       its client area's left, top, width and height on the screen
#                                (xdotool's position counts a window manager's frame twice), then
#                                its frame's left, right, top and bottom widths
#   screen_pixel X Y             the colour of the screen at X Y, as #RRGGBB
#   cpu_ticks PID...             the processor time the processes have used, in clock ticks

skip() {
  echo "SKIP: $*"
  exit 77
}

require_programs() {
  local program
  for program in "$@"; do
    command -v "$program" >/dev/null ||
      skip "needs $program for a virtual display (scripts/setup installs it)"
  done
}

VIRTUAL_DISPLAY_PID=
WINDOW_MANAGER_PID=

start_virtual_display() {
  local fifo_dir number=
  require_programs Xvfb
  fifo_dir=$(mktemp -d)
  # Xvfb picks a free display number and writes it to fd 3 once it accepts clients.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo_dir/display" \
    2>"$fifo_dir/xvfb.log" &
  VIRTUAL_DISPLAY_PID=$!
  for _ in $(seq 100); do
    number=$(head -n1 "$fifo_dir/display" 2>/dev/null || true)
    [ -n "$number" ] && break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "Xvfb did not start: $(cat "$fifo_dir/xvfb.log")" >&2
    rm -rf "$fifo_dir"
    return 1
  fi
  rm -rf "$fifo_dir"
  export DISPLAY=":$number"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}

start_window_manager() {
  require_programs openbox xprop
  openbox --sm-disable >/dev/null 2>&1 &
  WINDOW_MANAGER_PID=$!
  # It has taken the display once it names its check window on the root window. A loaded machine
  # may take its time; an openbox that ends or never takes the display is a failure, not a skip.
  for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$WINDOW_MANAGER_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "openbox did not take the virtual display" >&2
  return 1
}

window_geometry() {
  xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
    /^ *Width/ { w = $2 } /^ *Height/ { h = $2 } END { printf "%d %d %d %d ", x, y, w, h }'
  xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ,
}

# window_geometry of a window the window manager has framed: waits up to 5 s for its frame (a
# title bar above it), and fails when none comes.
framed_geometry() {
  local geometry top
  for _ in $(seq 50); do
    geometry=$(window_geometry "$1")
    read -r _ _ _ _ _ _ top _ <<<"$geometry"
    [ "${top:-0}" -gt 0 ] && echo "$geometry" && return 0
    sleep 0.1
  done
  return 1
}

stop_virtual_display() {
  # It may have ended already; the display must still end.
  [ -z "$WINDOW_MANAGER_PID" ] || kill "$WINDOW_MANAGER_PID" 2>/dev/null || true
  WINDOW_MANAGER_PID=
  [ -n "$VIRTUAL_DISPLAY_PID" ] && kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null
  VIRTUAL_DISPLAY_PID=
  return 0
}

screen_pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n1
}

cpu_ticks() {
  local pid
  for pid; do cat "/proc/$pid/stat" 2>/dev/null || true; done | awk '{ t += $14 + $15 } END { print t + 0 }'
}
