#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Each folder is one layer and may include only its own headers and those of the layers it
# uses; the system is reached only through frame/sys, and the engine's core, which works on
# text in memory, does no I/O at all.
# Usage: layering.sh SOURCE_DIR
set -u
cd "$1" || exit 2
status=0

# folder (its own files, not its subfolders) and the include prefixes it may use, from the
# bottom up
rules=(
  "frame/text:frame/text/"
  "frame/sys:frame/sys/ frame/text/"
  "frame/prompts:frame/prompts/ frame/text/"
  "engine/core:engine/core/ frame/text/"
  "engine:engine/ frame/sys/ frame/prompts/ frame/text/"
  "frame/startup:frame/ engine/"
  "ui:ui/ frame/ engine/"
  "app:frame/startup/"
)
for rule in "${rules[@]}"; do
  folder=${rule%%:*}
  allowed=${rule#*:}
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS= read -r include; do
      ok=0
      for prefix in $allowed; do
        case "$include" in "$prefix"*) ok=1 ;; esac
      done
      if [ "$ok" = 0 ]; then
        echo "$file includes \"$include\", which its layer may not use"
        status=1
      fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  done
done

# Every folder of the product is a layer above.
for folder in $(find engine frame ui app -name '*.cpp' -printf '%h\n' | sort -u); do
  known=0
  for rule in "${rules[@]}"; do [ "${rule%%:*}" = "$folder" ] && known=1; done
  if [ "$known" = 0 ]; then
    echo "$folder holds code but is no layer of this test"
    status=1
  fi
done

# System headers and calls belong to frame/sys; the window may use Qt's own file classes.
product=$(find engine frame/text frame/prompts frame/startup ui app -name '*.h' -o -name '*.cpp')
if grep -n -E '^#include <(unistd\.h|fcntl\.h|dirent\.h|dlfcn\.h|pwd\.h|grp\.h|sys/[^>]*)>' \
    $product; then
  echo "system headers belong in frame/sys"
  status=1
fi
if grep -n -E '(^|[^A-Za-z0-9_])::((l|f)?stat(at|vfs)?|open|openat|close|read|write|unlink|rename|chmod|fchmod|chown|mkdir|access|faccessat|isatty|getuid|geteuid|getpwuid|dlopen|dlsym|readlink|realpath)\(' \
    $product; then
  echo "system calls belong in frame/sys"
  status=1
fi
if grep -n -E '^#include <(cstdio|stdio\.h|fstream|iostream)>' engine/core/*.h engine/core/*.cpp; then
  echo "engine/core does no I/O: the includes above belong in frame/sys"
  status=1
fi
exit $status
