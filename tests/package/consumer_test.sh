#!/usr/bin/env bash
# The package as its users meet it: the build is installed into a staging
# prefix, then a small C program from outside the source tree is built
# against it with CMake and with pkg-config, shared and static, and so is
# every installed example; each program runs headless to a picture.
# Usage: consumer_test.sh BUILD-DIRECTORY OUTPUT-DIRECTORY
set -euo pipefail
build=$(realpath "$1")
out=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out"
out=$(realpath "$out")
stage=$out/stage
cmake --install "$build" --prefix "$stage" >"$out/install.log"
libdir=$(dirname "$(find "$stage" -name kavro.pc -path '*/pkgconfig/*' | head -n1)")/..
libdir=$(realpath "$libdir")
export PKG_CONFIG_PATH=$libdir/pkgconfig
export KAVRO_BACKEND=headless

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs a program headless; its last picture must show the red square with
# the blue disc at the window's centre.
check_picture() {
  local name=$1 program=$2 picture=$out/$1.png
  if ! KAVRO_PICTURE=$picture LD_LIBRARY_PATH=$libdir timeout 60 "$program" >"$out/$name.log" 2>&1; then
    fail "$name: the program failed: $(head -c 300 "$out/$name.log")"
    return
  fi
  [ -s "$picture" ] || { fail "$name: no picture"; return; }
  local size centre edge
  size=$(identify -format '%w %h' "$picture")
  read -r width height <<<"$size"
  centre=$(convert "$picture" -format "%[pixel:p{$((width / 2)),$((height / 2))}]" info:)
  edge=$(convert "$picture" -format "%[pixel:p{$((width / 2 + 60)),$((height / 2))}]" info:)
  case "$centre/$edge" in
    "srgb(0,0,255)/srgb(255,0,0)" | "blue/red") echo "ok: $name" ;;
    *) fail "$name: centre $centre and edge $edge, expected blue and red" ;;
  esac
}

for flavour in shared static; do
  static=OFF
  [ "$flavour" = static ] && static=ON
  tree=$out/cmake-$flavour
  if cmake -S "$here/consumer" -B "$tree" -DCMAKE_PREFIX_PATH="$stage" -DUSE_STATIC=$static >"$out/cmake-$flavour.log" 2>&1 &&
    cmake --build "$tree" >>"$out/cmake-$flavour.log" 2>&1; then
    check_picture "cmake-$flavour" "$tree/consumer"
  else
    fail "find_package(KAVRO), $flavour: $(tail -n 20 "$out/cmake-$flavour.log")"
  fi
done

if cc "$here/consumer/consumer.c" $(pkg-config --cflags --libs kavro) -o "$out/pc-shared" 2>"$out/pc-shared.log"; then
  check_picture pc-shared "$out/pc-shared"
else
  fail "pkg-config, shared: $(cat "$out/pc-shared.log")"
fi
# The static archive by name, and everything it needs from the package's private fields.
static_flags=$(pkg-config --static --libs kavro | sed 's/-lkavro\b/-l:libkavro.a/')
if cc "$here/consumer/consumer.c" $(pkg-config --cflags kavro) $static_flags -o "$out/pc-static" 2>"$out/pc-static.log"; then
  if ldd "$out/pc-static" | grep -q libkavro; then fail "pkg-config, static: links libkavro.so"; fi
  check_picture pc-static "$out/pc-static"
else
  fail "pkg-config, static: $(cat "$out/pc-static.log")"
fi

# The installed kavro-replay replays a program built outside the tree, and
# its own frames compare equal with themselves.
printf 'KAVRO_PERIODIC(3);\nKAVRO_MOUSE(10, 10);\n' >"$out/consumer.scr"
replay=$stage/bin/kavro-replay
if "$replay" "$out/cmake-shared/consumer" "$out/consumer.scr" --frames every:2 --gif "$out/consumer.gif" \
  --out "$out/replay" >"$out/replay.log" 2>&1 &&
  "$replay" "$out/cmake-shared/consumer" "$out/consumer.scr" --frames every:2 --out "$out/replay-again" \
    --compare "$out/replay" >>"$out/replay.log" 2>&1 && grep -q "3 frames compared, 0 differ" "$out/replay.log" &&
  [ -s "$out/consumer.gif" ]; then
  echo "ok: kavro-replay of an outside program"
else
  fail "kavro-replay of an outside program: $(cat "$out/replay.log")"
fi

# Every installed example builds as a project of its own and runs headless.
for example in "$stage"/share/doc/kavro/examples/*/; do
  name=$(basename "$example")
  tree=$out/example-$name
  if cmake -S "$example" -B "$tree" -DCMAKE_PREFIX_PATH="$stage" >"$tree.log" 2>&1 &&
    cmake --build "$tree" >>"$tree.log" 2>&1; then
    if KAVRO_PICTURE=$out/example-$name.png timeout 60 "$tree/$name" >>"$tree.log" 2>&1 && [ -s "$out/example-$name.png" ]; then
      echo "ok: example $name"
    else
      fail "example $name did not run to a picture: $(tail -n 5 "$tree.log")"
    fi
  else
    fail "example $name does not build: $(tail -n 20 "$tree.log")"
  fi
done

echo "consumer tests: $failures failed"
[ "$failures" -eq 0 ]
