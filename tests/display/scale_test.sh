#!/usr/bin/env bash
# The bridge at KAVRO_SCALE=2 on a high-density screen of its own: the picture
# is the scale-1 picture with every pixel doubled, and a click lands on what
# is drawn under it. Run by scripts/display-tests; it starts a private
# 2048 x 1536 Xvfb without a window manager, so it runs in the bare pass only.
# Usage: scale_test.sh path/to/bridge output-directory
set -euo pipefail

bridge=$(realpath "$1")
out=$2
mkdir -p "$out"
if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  echo "ok: the scale is checked in the pass without a window manager"
  exit 0
fi
work=$(mktemp -d)
xvfb_pid=
pid=
cleanup() {
  set +e
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

Xvfb -displayfd 3 -screen 0 2048x1536x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: the 2048 x 1536 Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# Starts bridge at a scale and waits until its window shows.
start() {
  (cd "$work" && KAVRO_SCALE=$1 exec "$bridge" >>"$out/bridge.log" 2>&1) &
  pid=$!
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^KAVRO Graphics\$" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1.5
}
stop() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; pid=; }
# Where the top-left of the window, its title bar, menu bar and button column
# are drawn: nothing in it moves while the scene runs.
still_part() { convert "$work/shot.png" -crop "$((150 * $1))x$((300 * $1))+0+0" +repage "$2"; }

start 1
import -window root "$work/shot.png"
still_part 1 "$out/scale1.png"
stop
start 2
import -window root "$work/shot.png"
cp "$work/shot.png" "$out/scale2-screen.png"
still_part 2 "$out/scale2.png"
convert "$out/scale2.png" -sample 50% "$out/scale2-halved.png"
differing=$(compare -metric AE "$out/scale1.png" "$out/scale2-halved.png" null: 2>&1 || true)
if [ "$differing" = 0 ]; then
  # The doubling itself: each 2 x 2 square is one colour.
  convert "$out/scale2-halved.png" -sample 200% "$work/redoubled.png"
  again=$(compare -metric AE "$out/scale2.png" "$work/redoubled.png" null: 2>&1 || true)
  [ "$again" = 0 ] && pass "scale 2 shows the scale-1 picture with every pixel doubled" ||
    fail "scale 2 is not made of 2 x 2 squares ($again pixels)"
else
  fail "scale 2 halved differs from scale 1 in $differing pixels (see $out)"
fi

# "How Many?" at scene (-257, 108): the client's centre is (297, 248) inside a
# 3-pixel border, an 18-pixel title bar and the 20-pixel menu bar.
screen_of() { echo $(((3 + 297 + $1) * 2)) $(((3 + 18 + 20 + 248 - $2) * 2)); }
submenu_box() { convert "$1" -crop 60x30+"$(screen_of -210 115 | tr ' ' '+')" +repage "$2"; }
submenu_box "$work/shot.png" "$work/before.png"
read -r x y <<<"$(screen_of -257 108)"
xdotool mousemove --sync "$x" "$y" click 1
sleep 1.5
import -window root "$work/shot.png"
cp "$work/shot.png" "$out/scale2-clicked.png"
submenu_box "$work/shot.png" "$work/after.png"
changed=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)
if [ "$changed" != 0 ]; then
  pass "a click on How Many? at scale 2 opens its sub-menu beside it"
else
  fail "a click at scale 2 did not reach the button under it"
fi
stop
[ "$failures" -eq 0 ]
