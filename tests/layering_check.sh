#!/bin/sh
# The layers of the library, bottom to top: platform, core, the keyword
# modules (component, model, package), reader, api.  A layer includes only
# layers below it, and only platform touches files, directories or time.
set -eu
src="$1/src"
status=0

# forbid DIR PATTERN WHY: no include of a project header matching PATTERN in DIR
forbid() {
  found=$(grep -rnE "#include \"($2)/" "$src/$1" || true)
  if [ -n "$found" ]; then
    echo "$1 includes $3:"
    printf '%s\n' "$found"
    status=1
  fi
}

forbid platform 'core|component|model|package|reader|api' 'a layer above the platform'
forbid core 'component|model|package|reader|api' 'a layer above the core'
forbid component 'reader|api' 'the reader or the api'
forbid model 'reader|api' 'the reader or the api'
forbid package 'reader|api' 'the reader or the api'
forbid reader 'api' 'the api'

# File, directory and time services outside the platform module.
services='\b(fopen|freopen|opendir|readdir|mkdir|rmdir|rename|remove|unlink|tmpnam|tmpfile|mkstemp|stat|lstat|access|time|localtime|gmtime|utime)[[:space:]]*\(|<filesystem>|<dirent\.h>|<sys/stat\.h>|<unistd\.h>'
found=$(grep -rnE "$services" "$src" --include='*.cpp' --include='*.h' | grep -v "^$src/platform/" | grep -vE '^[^:]*:[0-9]+:[[:space:]]*//' || true)
if [ -n "$found" ]; then
  echo "file, directory or time services outside src/platform:"
  printf '%s\n' "$found"
  status=1
fi

[ $status -eq 0 ] && echo "layers include only layers below them"
exit $status
