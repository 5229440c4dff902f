#!/bin/sh
# Installs the built package into a prefix of its own, builds the example
# host against it with find_package(tavelin) alone, indexes the bundled
# example with the installed tool and runs the host on it.
# With a Python command, the installed Python package is imported from the
# prefix and checks the example.
# Arguments: build directory, source directory, extra compiler flags,
# Python command (empty when the module is not built).
set -eu
build="$1"
src="$2"
flags="${3:-}"
python="${4:-}"
work=$(mktemp -d /tmp/tavelin-install-XXXXXX)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" > "$work/install.txt"
test -f "$work/prefix/include/tavelin/tavelin.h"
test -f "$work/prefix/share/man/man1/tavelin.1"
test -f "$work/prefix/lib/pkgconfig/tavelin.pc" || test -f "$work/prefix/lib64/pkgconfig/tavelin.pc"
soname=$(objdump -p "$work"/prefix/lib*/libtavelin.so | awk '/SONAME/ {print $2}')
test "$soname" = "libtavelin.so.0"

cmake -S "$src/examples/host" -B "$work/host" -DCMAKE_PREFIX_PATH="$work/prefix" \
      -DCMAKE_CXX_FLAGS="$flags" > "$work/configure.txt"
cmake --build "$work/host" > "$work/build.txt"

mkdir "$work/models"
cp "$src/examples/tvl8244.ibs" "$work/models/"
"$work/prefix/bin/tavelin" index "$work/models" > "$work/models/models.idx"
"$work/host/tavelin_host" "$work/cbx" "$work/models/models.idx" TVL8244 3 > "$work/out.txt"

# The reader's banner of the compile, the pins, then the listing of pin 3.
sed -e '/^$/d' -e '/^Checking .* Compatibility\.\.\.$/d' "$work/out.txt" | head -n 3 > "$work/pins.txt"
printf '1 VCC no type (pwr, gnd or NC)\n2 GND no type (pwr, gnd or NC)\n3 DQ0 i/o\n' > "$work/expected.txt"
cmp "$work/pins.txt" "$work/expected.txt"
grep -q '^I/O 1 "3"$' "$work/out.txt"
grep -q 'model "TVL8244" "IO33" 0$' "$work/out.txt"
grep -q '^R_Pin 0.21$' "$work/out.txt"
test -f "$work/cbx/ib000000.cbs"
test -f "$work/cbx/compibis.ibx"
if [ -n "$python" ]; then
  module=$(find "$work/prefix" -path '*/tavelin/_tavelin*.so' | head -n 1)
  test -n "$module"
  site=$(dirname "$(dirname "$module")")
  test -f "$site/tavelin/__init__.py" && test -f "$site/tavelin/plot.py"
  PYTHONPATH="$site" $python -c '
import sys, tavelin
assert tavelin.__file__.startswith(sys.argv[1]), tavelin.__file__
result = tavelin.check(sys.argv[2])
assert (result.version, result.errors, result.warnings) == ("3.2", 0, 0), result
' "$site" "$src/examples/tvl8244.ibs"
  echo "the installed Python package imports and checks the example"
fi
echo "the example host builds against the installed package and runs"
