#!/usr/bin/env bash
# CPU use of the running animation when nobody touches it: the user+system
# seconds bridge spends over a stretch of wall time, as a share of one core.
# The goal is 1.5% at most. Starts Xvfb itself when there is no display.
# Usage: bench/idle_cpu.sh [path/to/bridge] [seconds]
#   e.g. after scripts/bench: bench/idle_cpu.sh build/bench/bridge 30
set -euo pipefail

bridge=$(realpath "${1:-build/bench/bridge}")
seconds=${2:-30}
warm_up=3
[ -x "$bridge" ] || { echo "idle_cpu: no program at $bridge (build the bridge target first)" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
bridge_pid=
cleanup() {
  set +e  # a process that is already gone must not cut the clean-up short
  [ -n "$bridge_pid" ] && kill "$bridge_pid" 2>/dev/null && wait "$bridge_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "idle_cpu: no display and no Xvfb (scripts/deps test installs it)" >&2; exit 2; }
  # Xvfb picks a free display number and writes it to the pipe.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "idle_cpu: Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 2; }
  export DISPLAY=":$(head -n1 "$work/display")"
fi

(cd "$work" && exec "$bridge") &
bridge_pid=$!
sleep "$warm_up"
kill -0 "$bridge_pid" 2>/dev/null || { echo "idle_cpu: bridge ended during start-up" >&2; exit 1; }

# utime and stime are the 14th and 15th fields; the command name before them may hold spaces.
cpu_ticks() { sed 's/.*) //' "/proc/$bridge_pid/stat" | awk '{ print $12 + $13 }'; }
ticks_per_second=$(getconf CLK_TCK)

start_ticks=$(cpu_ticks)
start_ns=$(date +%s%N)
sleep "$seconds"
end_ticks=$(cpu_ticks)
end_ns=$(date +%s%N)

awk -v ticks=$((end_ticks - start_ticks)) -v hz="$ticks_per_second" -v ns=$((end_ns - start_ns)) 'BEGIN {
  cpu = ticks / hz; wall = ns / 1e9; share = 100 * cpu / wall
  printf "bridge, animation running: %.2f s user+system over %.1f s wall = %.2f%% of one core (goal <= 1.5%%)\n", cpu, wall, share
}'
