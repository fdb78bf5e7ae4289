#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The version and the address for problems are written once, in CMakeLists.txt; the program
# takes them from there. The files that must repeat them (the packages' changelog, the
# metainfo, the manual page, the changelog, the README and the guide) have to agree with it.
# Usage: release_facts.sh SOURCE_DIR VERSION ISSUES_URL PROGRAM
set -u
source=$1 version=$2 issues=$3 program=$4
cd "$source" || exit 2
status=0
# Fails when `found` (what `where` says) is not `wanted`.
agree() {
    [ "$2" = "$3" ] || { echo "$1: '$2', but CMakeLists.txt says '$3'" && status=1; }
}

agree "packaging/changelog, the newest entry" \
    "$(sed -n '1s/^stepwell (\([^)]*\)).*/\1/p' packaging/changelog)" "$version"
agree "app/org.example.stepwell.metainfo.xml, the newest release" \
    "$(grep -o -m1 '<release version="[^"]*"' app/org.example.stepwell.metainfo.xml | cut -d'"' -f2)" \
    "$version"
agree "doc/stepwell.1, .TH" "$(sed -n 's/^\.TH .*"stepwell \([^"]*\)".*/\1/p' doc/stepwell.1)" "$version"
agree "CHANGELOG.md, the newest version" \
    "$(sed -n 's/^## \([0-9][0-9.]*\)$/\1/p' CHANGELOG.md | head -n1)" "$version"
# Every version the README and the guide name: packages, the version line, the window's
# title, the tag a pre-commit configuration takes.
while IFS=: read -r file line text; do
    agree "$file:$line" "$(sed -E 's/.*[ _v]([0-9]+\.[0-9]+(\.[0-9]+)?)$/\1/' <<<"$text")" "$version"
done < <(grep -noE '([Ss]tepwell(-gui)?[ _]|rev: v)[0-9]+\.[0-9]+(\.[0-9]+)?' README.md doc/guide.md)

agree "the manual page's address for problems, in SEE ALSO" \
    "$(sed -n '/^\.SH "SEE ALSO"/,$s/.*<\(.*\)>.*/\1/p' doc/stepwell.1)" "$issues"
agree "the last line of --help" "$("$program" --help | tail -n1)" "Report problems at <$issues>."
exit $status
