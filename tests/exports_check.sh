#!/bin/sh
# The shared library must export the host classes only: no symbol of the
# reader's internal modules and no standard-library template code.
set -eu
lib="$1"
symbols=$(nm -D --defined-only "$lib" | awk '{print $3}' | c++filt)
leaked=$(printf '%s\n' "$symbols" | grep -v -E '^$|CIbisCompMdls|CIbisCompInfo|CNavigPrs' || true)
if [ -n "$leaked" ]; then
  echo "libtavelin.so exports internal symbols:"
  printf '%s\n' "$leaked" | head -20
  exit 1
fi
echo "libtavelin.so exports only the host classes"
