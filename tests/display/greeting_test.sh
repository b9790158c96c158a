#!/usr/bin/env bash
# The greeting example on an X display: the keyboard reaches the program again
# once the prompt dialog has closed (Ctrl+Q ends it), and the graphics
# window's close box ends it too. Run by scripts/display-tests.
# Usage: greeting_test.sh path/to/bridge output-directory (greeting is built beside bridge)
set -euo pipefail

greeting=$(realpath "$(dirname "$1")")/examples/greeting
out=$2
mkdir -p "$out"
[ -x "$greeting" ] || { echo "FAIL: no greeting example at $greeting"; exit 1; }
work=$(mktemp -d)
pid=
cleanup() {
  set +e
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

find_window() {
  for _ in $(seq 100); do
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
gone() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# Waits up to ten seconds for the program to end; its exit code, or "running".
ended() {
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then echo running; return; fi
  local code=0
  wait "$pid" || code=$?
  pid=
  echo "$code"
}
answer_dialog() {
  find_window KAVRO_gets >/dev/null || { fail "no KAVRO_gets dialog"; return 1; }
  sleep 0.3
  # Typed without naming a window: the keys go wherever the input focus is.
  xdotool type --delay 30 "Ada"
  xdotool key Return
  for _ in $(seq 50); do gone KAVRO_gets && break; sleep 0.1; done
  gone KAVRO_gets || { fail "the dialog stays open after Enter"; return 1; }
  sleep 0.5
}

echo "--- keyboard after the dialog"
(cd "$work" && exec "$greeting" >"$out/greeting.stdout" 2>"$out/greeting.stderr") &
pid=$!
if answer_dialog; then
  import -window root "$out/greeted.png"
  xdotool key ctrl+q
  code=$(ended)
  [ "$code" = 0 ] && pass "Ctrl+Q typed after the dialog ends the program" ||
    fail "Ctrl+Q after the dialog: the program is $code"
fi
[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
pid=

echo "--- close box"
(cd "$work" && exec "$greeting" >>"$out/greeting.stdout" 2>>"$out/greeting.stderr") &
pid=$!
if answer_dialog; then
  graphics=$(find_window "KAVRO Graphics")
  # xwininfo, not xdotool: under a reparenting window manager xdotool adds the decorations twice.
  X=$(xwininfo -id "$graphics" | awk '/Absolute upper-left X:/ { print $NF }')
  Y=$(xwininfo -id "$graphics" | awk '/Absolute upper-left Y:/ { print $NF }')
  WIDTH=$(xwininfo -id "$graphics" | awk '/Width:/ { print $NF }')
  extents=$(xprop -id "$graphics" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
  if [ -n "$extents" ]; then
    # The window manager's close button: try its title bar's right end, where most themes put it.
    IFS=, read -r left right top bottom <<<"$extents"
    for offset in 10 12 8 14 16 20; do
      xdotool mousemove --sync $((X + WIDTH + right - offset)) $((Y - top / 2)) click 1
      sleep 0.5
      kill -0 "$pid" 2>/dev/null || break
    done
  else
    # Our own close box: 16 pixels wide, 2 pixels inside the 3-pixel border and the 18-pixel title bar.
    xdotool mousemove --sync $((X + WIDTH - 3 - 2 - 8)) $((Y + 3 + 9)) click 1
  fi
  code=$(ended)
  [ "$code" = 0 ] && pass "the close box ends the program" || fail "after the close box the program is $code"
fi
if [ -s "$out/greeting.stderr" ]; then
  echo "greeting wrote to stderr:"
  sed 's/^/  /' "$out/greeting.stderr" | head -n 20
fi
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
