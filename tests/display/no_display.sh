#!/usr/bin/env bash
# Without a usable display bridge says so in one line and exits with 1,
# instead of crashing or running unseen on a fallback.
# Usage: no_display.sh path/to/bridge
set -uo pipefail
bridge=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
export LSAN_OPTIONS="suppressions=$root/tests/display/leak_suppressions.txt:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
failures=0
check() {
  local what=$1
  shift
  local output code
  output=$(cd /tmp && timeout 20 "$@" 2>&1 >/dev/null)
  code=$?
  if [ "$code" = 1 ] && [ "$(printf '%s\n' "$output" | grep -c .)" = 1 ] && printf '%s' "$output" | grep -q "display"; then
    echo "ok: $what"
  else
    echo "FAIL: $what: exit code $code, message: $output"
    failures=$((failures + 1))
  fi
}
check "no DISPLAY nor WAYLAND_DISPLAY" env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$bridge"
check "a DISPLAY nobody serves" env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:4242 "$bridge"
[ "$failures" -eq 0 ]
