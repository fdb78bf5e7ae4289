# SPDX-License-Identifier: MIT
# Fish completion for stepwell: its options and what each does, read from its own --help (so
# the list follows the program), and file names; --tags and --stdin-filename take a file.
for option in (command stepwell --help 2>/dev/null |
        string replace -rf '^  (?:-(\w), |    )--([\w-]+)(=\S+)?\s+(.*)$' '$1\t$2\t$3\t$4')
    set -l part (string split \t -- $option)
    set -l words -c stepwell -l $part[2] -d $part[4]
    test -n "$part[1]"; and set -a words -s $part[1]
    test -n "$part[3]"; and set -a words -r -F
    complete $words
end
