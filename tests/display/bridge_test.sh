#!/usr/bin/env bash
# The real bridge on an X display: the outer size and the client area all
# scenery, the landscape's pixels, a panel button and a sub-menu row, the Run
# menu by mouse and by keyboard, halting the sun, exposure, resizing the text
# window, the close box and Ctrl+Q. Run by scripts/display-tests, which
# supplies DISPLAY (a private Xvfb, with or without a window manager).
# Usage: bridge_test.sh path/to/bridge output-directory
set -euo pipefail

bridge=$1
out=$2
mkdir -p "$out"
work=$(mktemp -d)
bridge_pid=
clock_pid=
cleanup() {
  set +e  # a process that is already gone must not cut the clean-up short
  [ -n "$clock_pid" ] && kill "$clock_pid" 2>/dev/null
  [ -n "$bridge_pid" ] && kill "$bridge_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
step() { echo "--- $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Colours as "r,g,b".
ICE_BLUE=153,255,255
FOREST_GREEN=0,102,51
NAVY_BLUE=0,51,153
YELLOW=255,255,0
WHITE=255,255,255
MENU_FACE=212,208,200
MENU_HIGHLIGHT=10,36,106

# --- screenshots and pixels, relative to the menu bar's upper-left corner ---
shot=$work/shot.png
take_shot() { import -window root "$shot"; }
keep_shot() { cp "$shot" "$out/$1.png"; }
# Pixel of the last shot at screen (x, y) as "r,g,b".
screen_pixel() {
  convert "$shot" -crop "1x1+$1+$2" +repage -depth 8 txt:- | sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
pixel() { screen_pixel $((origin_x + $1)) $((origin_y + $2)); }
# Number of pixels of one colour in the surface box (x, y, width, height).
count_color() {
  convert "$shot" -crop "$4x$5+$((origin_x + $2))+$((origin_y + $3))" +repage -depth 8 txt:- | grep -c "($1)" || true
}
# Scene coordinates (origin at the client centre, y up) to surface coordinates.
sx() { echo $((centre_x + $1)); }
sy() { echo $((menu_bar + centre_y - $1)); }
scene_pixel() { pixel "$(sx "$1")" "$(sy "$2")"; }
# Count of a colour in the scene box from (left, top) to (right, bottom).
scene_count() { count_color "$1" "$(sx "$2")" "$(sy "$3")" $(($4 - $2)) $(($3 - $5)); }
click_at() { xdotool mousemove --sync $((origin_x + $1)) $((origin_y + $2)) click 1; }
click_scene() { click_at "$(sx "$1")" "$(sy "$2")"; }

# Repeats a command (with a fresh shot before each try) until it succeeds or
# the seconds run out.
wait_until() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  while :; do
    take_shot
    if "$@"; then return 0; fi
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}
is_color() { [ "$(pixel "$1" "$2")" = "$3" ]; }
scene_is() { [ "$(scene_pixel "$1" "$2")" = "$3" ]; }
scene_count_above() { [ "$(scene_count "$1" "$2" "$3" "$4" "$5")" -gt "$6" ]; }

# The sun's centre column, from the yellow pixels in its band of the sky;
# "none" while it is out of sight.
sun_column() {
  convert "$shot" -crop "${client_width}x51+$origin_x+$((origin_y + $(sy 220)))" +repage -depth 8 txt:- |
    awk -v yellow="($YELLOW)" 'index($0, yellow) { split($1, at, ","); sum += at[1]; n++ }
      END { if (n < 30) print "none"; else printf "%d\n", sum / n }'
}
sun_now() {
  local column
  for _ in $(seq 15); do
    take_shot
    column=$(sun_column)
    [ "$column" != none ] && { echo "$column"; return; }
    sleep 0.2
  done
  echo none
}
popup_open() { is_color 250 30 "$MENU_FACE"; }
popup_closed() { ! is_color 250 30 "$MENU_FACE"; }

window_field() { xwininfo -id "$1" | awk -v field="$2" 'index($0, field) { print $NF }'; }
find_window() {
  for _ in $(seq 100); do
    local id
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

step "start"
(cd "$work" && exec "$bridge" >"$out/bridge.stdout" 2>"$out/bridge.stderr") &
bridge_pid=$!
graphics=$(find_window "KAVRO Graphics") || { echo "FAIL: no window titled KAVRO Graphics"; exit 1; }
text=$(find_window "KAVRO Text") || { echo "FAIL: no window titled KAVRO Text"; exit 1; }
native_x=$(window_field "$graphics" "Absolute upper-left X:")
native_y=$(window_field "$graphics" "Absolute upper-left Y:")
width=$(window_field "$graphics" "Width:")
height=$(window_field "$graphics" "Height:")
menu_bar=20
# A window manager's decorations lie outside the native window and it says how
# wide they are; without one the program draws its own frame (3-pixel borders,
# an 18-pixel title bar) inside the native window.
extents=$(xprop -id "$graphics" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
if [ -n "$extents" ]; then
  IFS=, read -r frame_left frame_right frame_top frame_bottom <<<"$extents"
  origin_x=$native_x
  origin_y=$native_y
  client_width=$width
  client_height=$((height - menu_bar))
  outer="$((width + frame_left + frame_right)) x $((height + frame_top + frame_bottom))"
  echo "window manager's decorations: left $frame_left, right $frame_right, top $frame_top, bottom $frame_bottom"
else
  origin_x=$((native_x + 3))
  origin_y=$((native_y + 3 + 18))
  client_width=$((width - 6))
  client_height=$((height - 3 - 18 - 3 - menu_bar))
  outer="$width x $height"
fi
centre_x=$((client_width / 2))
centre_y=$((client_height / 2))
[ "$outer" = "601 x 540" ] && pass "graphics window is 601 x 540 with its frame" ||
  fail "graphics window is $outer with its frame, not 601 x 540"
[ $((centre_x)) -le 300 ] && [ $((client_width - 1 - centre_x)) -le 300 ] && [ $((centre_y)) -le 250 ] &&
  [ $((client_height - 1 - centre_y)) -le 250 ] && pass "the client area ($client_width x $client_height) lies inside the scenery" ||
  fail "the client area $client_width x $client_height reaches beyond the scenery"
text_geometry="$(window_field "$text" "Absolute upper-left Y:") $(window_field "$text" "Width:") $(window_field "$text" "Height:")"
if [ -z "$extents" ]; then
  [ "$text_geometry" = "513 1024 256" ] && pass "text window spans the bottom third" ||
    fail "text window top, width, height are $text_geometry, not 513 1024 256"
fi

step "landscape"
wait_until 20 scene_is 150 240 "$ICE_BLUE" && pass "the sky is ice blue" ||
  fail "sky pixel is $(scene_pixel 150 240), not $ICE_BLUE"
keep_shot start
[ "$(scene_pixel 200 -50)" = "$FOREST_GREEN" ] && pass "the land is forest green" ||
  fail "land pixel is $(scene_pixel 200 -50), not $FOREST_GREEN"
[ "$(scene_pixel 0 -200)" = "$NAVY_BLUE" ] && pass "the lake is navy blue" ||
  fail "lake pixel is $(scene_pixel 0 -200), not $NAVY_BLUE"
[ "$(scene_count "$NAVY_BLUE" -300 233 -215 231)" -ge 2 ] && pass "the panel's first button has its box" ||
  fail "no navy box edges across the first panel button"
[ "$(pixel 100 10)" = "$MENU_FACE" ] && [ "$(count_color 0,0,0 0 0 40 20)" -gt 10 ] &&
  pass "the menu bar shows its title" || fail "no menu bar with a title at the top of the window"
edge_white=$(count_color "$WHITE" 0 "$menu_bar" "$client_width" 1)
edge_white=$((edge_white + $(count_color "$WHITE" 0 $((menu_bar + client_height - 1)) "$client_width" 1)))
# The side columns only above the land: cars of any colour, white too, drive through them.
sky_rows=$(($(sy -25) - menu_bar))
edge_white=$((edge_white + $(count_color "$WHITE" 0 "$menu_bar" 1 "$sky_rows")))
edge_white=$((edge_white + $(count_color "$WHITE" $((client_width - 1)) "$menu_bar" 1 "$sky_rows")))
[ "$(pixel $((client_width / 2)) "$menu_bar")" = "$ICE_BLUE" ] && [ "$edge_white" -eq 0 ] &&
  pass "the client area's outermost rows and columns are scenery" ||
  fail "the client area's edge shows the cleared canvas ($(pixel $((client_width / 2)) "$menu_bar") on top, $edge_white white)"

step "panel button and sub-menu row"
submenu_navy() { scene_count "$NAVY_BLUE" -215 86 -182 36; }
[ "$(submenu_navy)" -eq 0 ] || fail "sub-menu area holds navy before any click"
click_scene -257 82
wait_until 10 scene_count_above "$NAVY_BLUE" -215 86 -182 36 40 && pass "Rain!! opens its sub-menu" ||
  fail "no sub-menu after clicking Rain!! ($(submenu_navy) navy pixels)"
keep_shot submenu
sky_navy() { scene_count "$NAVY_BLUE" -170 200 300 -20; }
before=$(sky_navy)
click_scene -200 75
wait_until 10 scene_count_above "$NAVY_BLUE" -170 200 300 -20 $((before + 20)) && pass "the Rain row makes it rain" ||
  fail "no rain after clicking the Rain row ($(sky_navy) navy pixels in the sky, $before before)"
keep_shot rain

step "Run menu by mouse: Halt animation"
first=$(sun_now)
sleep 0.6
second=$(sun_now)
[ "$first" != none ] && [ "$first" != "$second" ] && pass "the sun moves ($first, then $second)" ||
  fail "the sun does not move while animating ($first, then $second)"
click_at 18 10
wait_until 5 popup_open && pass "a click on Run opens the popup" || fail "no popup after clicking Run"
is_color 2 2 "$MENU_HIGHLIGHT" && pass "the open title is highlighted" || fail "the Run title is not highlighted"
xdotool mousemove --sync $((origin_x + 60)) $((origin_y + 49))
wait_until 5 is_color 250 49 "$MENU_HIGHLIGHT" && pass "hovering highlights Halt animation" ||
  fail "no hover highlight on Halt animation"
keep_shot menu
xdotool click 1
wait_until 5 popup_closed && pass "choosing an entry closes the popup" || fail "the popup stays open"
halted=$(sun_now)
if [ "$halted" = none ]; then
  # The sun is between crossings: single frames bring it back into view.
  for _ in $(seq 6); do xdotool key ctrl+f; sleep 0.3; halted=$(sun_now); [ "$halted" != none ] && break; done
fi
sleep 1
take_shot
cp "$shot" "$work/halted.png"
later=$(sun_column)
[ "$halted" != none ] && [ "$halted" = "$later" ] && pass "the sun stands still ($halted)" ||
  fail "the sun does not stop ($halted, then $later)"
sleep 0.5
take_shot
[ "$(compare -metric AE "$work/halted.png" "$shot" null: 2>&1 || true)" = 0 ] &&
  pass "nothing moves while halted" || fail "the picture changes while halted"
keep_shot halted

step "exposure"
xclock -geometry 200x150+$((origin_x + 200))+$((origin_y + 150)) &
clock_pid=$!
find_window xclock >/dev/null || fail "xclock did not appear"
sleep 0.5
kill "$clock_pid"
wait "$clock_pid" 2>/dev/null || true
clock_pid=
sleep 1
take_shot
[ "$(compare -metric AE "$work/halted.png" "$shot" null: 2>&1 || true)" = 0 ] &&
  pass "an uncovered window shows its pixels again" || { fail "the picture is not restored after exposure"; keep_shot exposed; }

step "Run menu by keyboard"
xdotool windowfocus --sync "$graphics" 2>/dev/null || true
xdotool key F10
wait_until 5 popup_open && pass "F10 opens the popup" || fail "F10 does not open the popup"
xdotool key Down
wait_until 5 is_color 250 31 "$MENU_HIGHLIGHT" && pass "Down highlights Animate" || fail "Down does not highlight Animate"
xdotool key Return
wait_until 5 popup_closed || fail "Enter does not close the popup"
first=$(sun_now)
sleep 0.6
second=$(sun_now)
[ "$first" != none ] && [ "$first" != "$second" ] && pass "Enter on Animate restarts the sun" ||
  fail "the sun stays after Enter on Animate ($first, then $second)"
xdotool key alt+r
wait_until 5 popup_open && pass "Alt+R opens the popup" || fail "Alt+R does not open the popup"
xdotool key Escape
wait_until 5 popup_closed && pass "Escape closes it" || fail "Escape does not close the popup"
click_at 18 10
wait_until 5 popup_open || fail "no popup after clicking Run"
click_at 500 400
wait_until 5 popup_closed && pass "a click outside closes it" || fail "a click outside leaves the popup open"

step "text window"
xdotool windowsize --sync "$text" 700 200 2>/dev/null || xdotool windowsize "$text" 700 200
text_x=$(window_field "$text" "Absolute upper-left X:")
text_y=$(window_field "$text" "Absolute upper-left Y:")
text_corner_white() { [ "$(screen_pixel $((text_x + 695)) $((text_y + 195)))" = "$WHITE" ]; }
wait_until 5 text_corner_white && pass "the resized text window repaints" ||
  fail "the resized text window shows $(screen_pixel $((text_x + 695)) $((text_y + 195))) in its corner"
keep_shot resized

step "Ctrl+Q"
xdotool windowfocus --sync "$graphics" 2>/dev/null || true
xdotool key ctrl+q
for _ in $(seq 100); do kill -0 "$bridge_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$bridge_pid" 2>/dev/null; then
  fail "bridge still runs 10 s after Ctrl+Q"
else
  code=0
  wait "$bridge_pid" || code=$?
  bridge_pid=
  [ "$code" = 0 ] && pass "Ctrl+Q ends bridge with exit code 0" || fail "bridge ended with exit code $code"
fi
if [ -s "$out/bridge.stderr" ]; then
  echo "bridge wrote to stderr:"
  sed 's/^/  /' "$out/bridge.stderr" | head -n 40
fi

echo "screenshots in $out"
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
