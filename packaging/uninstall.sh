#!/bin/sh
# SPDX-License-Identifier: MIT
# `make uninstall`: removes what the install recorded in RECORD-files.txt, then the folders
# it made (RECORD-folders.txt) that are empty now. The system's tag table stays when it
# differs from the shipped original: an administrator edited it, and a package would keep
# such a conffile too.
# Usage: uninstall.sh RECORD
set -eu
record=$1
if [ ! -f "$record-files.txt" ]; then
    echo "Nothing installed: $record-files.txt is missing" >&2
    exit 1
fi

original=$(grep '/share/stepwell/StepwellTag.txt$' "$record-files.txt" || true)
table=$(grep '/stepwell/StepwellTag.txt$' "$record-files.txt" | grep -vxF "$original" || true)
kept=
if [ -n "$table" ] && [ -e "$table" ] && ! cmp -s "$table" "$original"; then
    kept=$table
    echo "Keeping $table, which was edited"
fi
grep -vxF "${kept:-/}" "$record-files.txt" | while IFS= read -r file; do
    rm -f -- "$file"
done

# Deepest first, so that a folder goes once the folders in it have gone.
sort -r "$record-folders.txt" | while IFS= read -r folder; do
    rmdir -- "$folder" 2>/dev/null || true
done
rm -f -- "$record-files.txt" "$record-folders.txt"
