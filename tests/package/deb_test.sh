#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks what is inside:
# the library, header, CMake and pkg-config files, man pages, programs and
# examples, and the dependencies it declares. Skipped without dpkg-deb.
# Usage: deb_test.sh BUILD-DIRECTORY OUTPUT-DIRECTORY
set -euo pipefail
build=$(realpath "$1")
out=$2
command -v dpkg-deb >/dev/null || { echo "SKIPPED: dpkg-deb is not installed"; exit 0; }
rm -rf "$out"
mkdir -p "$out"
out=$(realpath "$out")
(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >cpack.log 2>&1) ||
  { echo "FAIL: cpack: $(tail -n 20 "$out/cpack.log")"; exit 1; }
deb=$(ls "$out"/kavro_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || { echo "FAIL: no kavro_*.deb in $out"; exit 1; }

failures=0
dpkg-deb -c "$deb" | sed 's/ -> .*//' | awk '{print $NF}' | sed 's|^\./|/|' >"$out/contents"
for wanted in '/include/kavro.h$' '/libkavro\.so$' '/libkavro\.so\.2$' '/libkavro\.so\.2\.2\.[0-9]*$' '/libkavro\.a$' \
  '/libkavro_main\.a$' '/pkgconfig/kavro\.pc$' '/cmake/KAVRO/KAVROConfig\.cmake$' '/cmake/KAVRO/KAVROConfigVersion\.cmake$' \
  '/cmake/KAVRO/KAVROTargets\.cmake$' '/bin/bridge$' '/bin/kavro-replay$' '/man3/KAVRO_circle\.3' \
  '/man3/KAVRO_text\.3' '/man3/KAVRO_key_held\.3' '/man3/KAVRO_KEY_PRESS\.3' '/doc/kavro/html/index\.html$' \
  '/doc/kavro/cheatsheet\.md$' '/doc/kavro/README\.md$' '/doc/kavro/duel\.gif$' \
  '/doc/kavro/examples/greeting/CMakeLists\.txt$' '/doc/kavro/examples/duel/duel\.scr$'; do
  grep -q "$wanted" "$out/contents" || { echo "FAIL: nothing in the package matches $wanted"; failures=$((failures + 1)); }
done
depends=$(dpkg-deb -f "$deb" Depends)
for wanted in libsdl2 libfreetype libfontconfig libpng libsdl2-dev fonts-dejavu-core; do
  case "$depends" in
    *"$wanted"*) ;;
    *) echo "FAIL: Depends does not name $wanted: $depends"; failures=$((failures + 1)) ;;
  esac
done
echo "package $(basename "$deb"): $(wc -l <"$out/contents") entries, $failures problems"
[ "$failures" -eq 0 ]
