#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The zsh and fish completions, run in the real shells with the program on the search path:
# they offer the options of its --help, and files after --tags= and --stdin-filename=.
# Usage: completions.sh zsh|fish PROGRAM SOURCE_DIR
# A missing shell skips the test (status 77) on a developer's machine, saying so; when CI is
# set it fails the test, since CI installs every tool the Makefile lists (make deps).
set -euo pipefail
shell=$1 program=$2 source=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if ! command -v "$shell" >/dev/null; then
    [ -z "${CI:-}" ] || { echo "FAIL: $shell is not installed (make deps installs it)"; exit 1; }
    echo "SKIP: $shell is not installed (make deps installs it)"
    exit 77
fi
mkdir -p "$scratch/bin" "$scratch/home" "$scratch/work"
ln -s "$program" "$scratch/bin/stepwell"
touch "$scratch/work/table.txt"
export PATH=$scratch/bin:$PATH HOME=$scratch/home
cd "$scratch/work"

# Each line typed; completion leaves it as `wanted` says, one line for each.
lines=('stepwell --ch' 'stepwell --stdin' 'stepwell --tags=ta' 'stepwell --stdin-filename=ta')
case $shell in
zsh)
    wanted='stepwell --check |stepwell --stdin-filename=|stepwell --tags=table.txt |'
    wanted+='stepwell --stdin-filename=table.txt |'
    # An interactive zsh on a terminal of its own; a key bound to a widget of the test's own
    # writes each line as completion left it.
    mkdir "$scratch/zsh"
    cp "$source/packaging/completion.zsh" "$scratch/zsh/_stepwell"
    zsh -f /dev/stdin "$scratch/zsh" "$scratch/completed" "${lines[@]}" <<'ZSH'
zmodload zsh/zpty
folder=$1 out=$2
shift 2
zpty -b completer 'zsh -f -i'
zpty -w completer "fpath=(${(q)folder} \$fpath); autoload -U compinit; compinit -u -D
dump() { print -r -- \"\$BUFFER\" >>${(q)out}; BUFFER=''; }
zle -N dump; bindkey '^O' dump"
for line; do zpty -w -n completer "$line"$'\t\x0f'; done
for _ in {1..100}; do
    [[ -f $out && $(wc -l <$out) -ge $# ]] && break
    sleep 0.1
done
zpty -d completer
ZSH
    ;;
fish)
    # fish lists the only candidate for each line, which takes the line's last word's place.
    wanted='--check|--stdin-filename|--tags=table.txt|--stdin-filename=table.txt|'
    for line in "${lines[@]}"; do
        fish --no-config -c "source $source/packaging/completion.fish; complete -C '$line'" |
            cut -f1 >>"$scratch/completed"
    done
    ;;
esac
completed=$(tr '\n' '|' <"$scratch/completed")
[ "$completed" = "$wanted" ] || { echo "FAIL: $shell completed '$completed', not '$wanted'"; exit 1; }
echo "PASS: $shell"
