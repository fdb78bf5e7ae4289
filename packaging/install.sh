#!/bin/sh
# SPDX-License-Identifier: MIT
# `make install`: installs the build in BUILD_DIR under PREFIX (below $DESTDIR, when set),
# and keeps what `make uninstall` needs to take it away again: RECORD-files.txt, the files
# installed, and RECORD-folders.txt, the folders the install had to make. An install over
# an earlier one adds to its record, so that the folders the first one made still go.
# Usage: install.sh BUILD_DIR PREFIX RECORD
set -eu
build=$1 prefix=$2 record=$3
destdir=${DESTDIR:-}
cmake=${CMAKE:-cmake}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$record-files.txt" "$record-folders.txt"

# The same install into an empty staging folder first: its tree is what the real one puts
# in place.
DESTDIR=$scratch/stage "$cmake" --install "$build" --prefix "$prefix" >/dev/null
(cd "$scratch/stage" && find . -mindepth 1 ! -type d) | sed "s|^\.||" |
    awk -v destdir="$destdir" '{ print destdir $0 }' >"$scratch/files"
(cd "$scratch/stage" && find . -mindepth 1 -type d) | sed "s|^\.||" |
    while IFS= read -r folder; do
        [ -d "$destdir$folder" ] || printf '%s\n' "$destdir$folder"
    done >"$scratch/folders"

"$cmake" --install "$build" --prefix "$prefix"
sort -u "$scratch/files" "$record-files.txt" -o "$record-files.txt"
sort -u "$scratch/folders" "$record-folders.txt" -o "$record-folders.txt"
