#!/usr/bin/env bash
# The greeting example on an X display: the keyboard reaches the program again
# once the prompt dialog has closed (Ctrl+Q ends it), and the graphics
# window's close box ends it too. Run by scripts/display-tests.
# Usage: greeting_test.sh path/to/bridge output-directory (the examples are built beside bridge)
set -euo pipefail

greeting=$(realpath "$(dirname "$1")")/examples/greeting/greeting
out=$2
mkdir -p "$out"
[ -f "$greeting" ] && [ -x "$greeting" ] || { echo "FAIL: no greeting example at $greeting"; exit 1; }
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
# Waits up to twenty seconds for the program to end and sets code to its exit
# code, or to "running". Not in a subshell: only this shell can wait for it.
ended() {
  for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then code=running; return; fi
  code=0
  wait "$pid" || code=$?
  pid=
}
# What this test checks is that the input arrived: the program ends. SDL 2.26
# sometimes fails an X request of its own while it shuts down under a window
# manager (BadWindow on X_SendEvent) and Xlib then exits with 1; that is shown,
# not counted.
ended_by_keys() {
  local what=${1:-Ctrl+Q typed after the dialog}
  if [ "$code" = running ]; then
    fail "$what: the program still runs"
  elif [ "$code" = 0 ]; then
    pass "$what ends the program"
  elif [ "$code" = 1 ] && grep -q 'X_SendEvent' "$out/greeting.stderr"; then
    pass "$what ends the program (exit code 1 from an X error during SDL's shut-down)"
  else
    fail "$what: the program ended with $code"
  fi
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
  ended
  ended_by_keys
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
  ended
  ended_by_keys "the close box"
fi
if [ -s "$out/greeting.stderr" ]; then
  echo "greeting wrote to stderr:"
  sed 's/^/  /' "$out/greeting.stderr" | head -n 20
fi
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
