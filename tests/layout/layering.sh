#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Each folder is one layer and may include only its own headers and those of the layers it
# uses; the engine's core, which works on text in memory, includes no system I/O header.
# Usage: layering.sh SOURCE_DIR
set -u
cd "$1" || exit 2
status=0

# folder (its own files, not its subfolders) and the include prefixes it may use
rules=(
  "frame/text:frame/text/"
  "engine/core:engine/core/ frame/text/"
  "frame/sys:frame/sys/ frame/text/"
  "engine:engine/ frame/sys/ frame/text/"
  "frame:frame/ engine/"
  "ui:ui/ frame/ engine/"
  "app:frame/"
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

if grep -n -E '^#include <(unistd\.h|fcntl\.h|dirent\.h|sys/[^>]*|cstdio|stdio\.h|fstream|iostream)>' \
    engine/core/*.h engine/core/*.cpp; then
  echo "engine/core does no I/O: the includes above belong in frame/sys"
  status=1
fi
exit $status
