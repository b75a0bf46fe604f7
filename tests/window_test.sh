#!/usr/bin/env bash
# gaugehost's window under a virtual X display, driven by real input events:
# SEL changes the mode, a right click enters set mode, a held CTRL in FT
# reaches the reset, L lights the display; Escape closes it cleanly.
set -u
gaugehost=$1 module=$2
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "skipped: no Xvfb or xdotool"; exit 77; }
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine_env.sh"
work=$(mktemp -d)
cleanup() { kill "$host" "$xserver" 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
cd "$work"
Xvfb -displayfd 3 -screen 0 1024x768x24 3>display.txt >/dev/null 2>&1 &
xserver=$!
for _ in $(seq 50); do [ -s display.txt ] && break; sleep 0.1; done
export DISPLAY=:$(cat display.txt)
# A Wine desktop started without this display could open no window.
wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
wine "$gaugehost" window "$module" --scale 4 --trace > trace.log 2>&1 &
host=$!
failures=0 count=0
waitFor() {  # what, seconds, text in the trace
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do grep -qF -- "$3" trace.log && return 0; sleep 0.1; done
  return 1
}
check() {  # name, command...
  local name=$1; shift
  count=$((count + 1))
  if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}
waitFor window 60 "window open:" || { echo "FAIL: the window did not open"; cat trace.log; exit 1; }
read -r gx gy < <(sed -n 's/^window open: gauge at \([0-9-]*\),\([0-9-]*\) .*/\1 \2/p' trace.log)
echo "gauge at $gx,$gy on display $DISPLAY"
at() { echo $((gx + $1 * 4 + 2)) $((gy + $2 * 4 + 2)); }
click() {  # gauge x, y, button
  read -r x y < <(at "$1" "$2")
  xdotool mousemove "$x" "$y" click "$3"
}
pixel() {  # gauge x, y: the screen's colour there
  read -r x y < <(at "$1" "$2")
  import -window root -crop "1x1+$x+$y" -depth 8 txt:- | sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p'
}
sleep 1
check "unlit display shows the LCD colour (69 72 54)" test "$(pixel 12 20)" = "697254"
click 25 65 1
check "SEL changes UT to LT" waitFor "" 5 'text 8 " LT"'
click 50 40 3
check "a right click enters set mode: the tens of hours blink" waitFor "" 5 'text 4 " 2:00"'
click 25 65 1; click 25 65 1  # the LT set ends on its second SEL
check "the LT set ends on its second SEL" waitFor "" 5 'text 4 "12:00"'
click 25 65 1
check "SEL moves on to FT" waitFor "" 5 'text 9 "FT"'
read -r x y < <(at 52 65)
xdotool mousemove "$x" "$y" mousedown 1; sleep 4; xdotool mouseup 1
check "a held CTRL in FT reaches the reset" waitFor "" 5 'text 5 "99:59"'
xdotool key l
sleep 1
check "L lights the display amber (A5 6D 34)" test "$(pixel 12 20)" = "A56D34"
xdotool key Escape
check "Escape closes it: services 15 and kill, module unloaded" waitFor "" 10 "window closed"
echo "$((count - failures)) passed, $failures failed"
[ $failures = 0 ]
