#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Stepwell as other tools run it, each the real tool: the guide's recipes for Vim, Emacs and
# pre-commit, taken from doc/guide.md as written, on a project with a tag table of its own
# that is not the folder the tool starts in; and the zsh and fish completions.
# Usage: other_tools.sh vim|emacs|pre-commit|zsh|fish PROGRAM SOURCE_DIR
# A missing tool skips the test (status 77) on a developer's machine, saying so; when CI is
# set it fails the test, since CI installs every tool the Makefile lists (make deps).
set -euo pipefail
tool=$1 program=$2 source=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2 && exit 1; }
if ! command -v "$tool" >/dev/null; then
    [ -z "${CI:-}" ] || fail "$tool is not installed (make deps installs it)"
    echo "SKIP: $tool is not installed (make deps installs it)"
    exit 77
fi
# The first block of the guide fenced as language $1 whose text holds $2.
recipe() {
    awk -v fence='```'"$1" -v word="$2" '
        !inside && $0 == fence { inside = 1; text = ""; next }
        inside && $0 == "```" { inside = 0; if (index(text, word)) { printf "%s", text; exit } }
        inside { text = text $0 "\n" }' "$source/doc/guide.md"
}
# Expects file $1 to hold exactly the text $2 (printf escapes).
expect() { printf "$2" | cmp -s - "$1" || fail "$1 holds $(od -c "$1" | head -5)"; }

# The program on the search path, and a home of the test's own, so that no user's settings
# take part. The project's table indents by <x>, which no other table knows.
mkdir -p "$scratch/bin" "$scratch/home" "$scratch/project/site"
ln -s "$program" "$scratch/bin/stepwell"
export PATH=$scratch/bin:$PATH HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
unset STEPWELL_TAGS
project=$scratch/project
printf '<X,1\n</X,-1\n' >"$project/.stepwell-tags"
page='<x>\n      日本語\n  <x>\n y\n</x>\n  </x>\n'
indented='<x>\n\t日本語\n\t<x>\n\t\ty\n\t</x>\n</x>\n'
cd "$scratch"

case $tool in
vim)
    mkdir -p "$HOME/.vim/after/ftplugin"
    recipe vim equalprg >"$HOME/.vim/after/ftplugin/html.vim"
    echo 'filetype plugin on' >"$HOME/.vimrc"
    for keys in gg=G gggqG; do # on a name that the shell would split
        printf "$page" >"$project/site/my page.html"
        vim -es -N -u "$HOME/.vimrc" -i NONE -c "normal $keys" -c wq "project/site/my page.html" ||
            fail "vim $keys failed"
        expect "$project/site/my page.html" "$indented"
    done
    ;;
emacs)
    recipe elisp stepwell-buffer >stepwell.el
    run() {
        emacs --batch -Q -l stepwell.el --eval "(progn (find-file \"project/site/page.html\")
            (condition-case nil (stepwell-buffer)
              (error (princ (with-current-buffer \"*stepwell errors*\" (buffer-string)))))
            (set-buffer-modified-p t) (save-buffer))" 2>/dev/null
    }
    printf "$page" >"$project/site/page.html"
    [ -z "$(run)" ] || fail "emacs: stepwell-buffer failed"
    expect "$project/site/page.html" "$indented"
    # A table Stepwell cannot use leaves the buffer as it was, and says why.
    printf "$page" >"$project/site/page.html"
    printf '<X,x\n' >"$project/.stepwell-tags"
    errors=$(run)
    [[ $errors == "stepwell: $project/site/page.html, line 1: "*"not a number" ]] ||
        fail "emacs: the error says: $errors"
    expect "$project/site/page.html" "$page"
    ;;
pre-commit)
    export GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@example.org PRE_COMMIT_HOME=$scratch/cache
    export GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@example.org
    # This repository's hook file, in a repository of its own; the guide's configuration
    # takes the hooks from there.
    git init -q hooks && cp "$source/.pre-commit-hooks.yaml" hooks/
    git -C hooks add . && git -C hooks commit -qm hooks
    configure() {
        recipe yaml 'repos:' | sed -e "s|^\( *- repo:\).*|\1 $scratch/hooks|" -e "s|^\( *- id:\).*|\1 $1|" \
            -e "s|^\( *rev:\).*|\1 $(git -C "$scratch/hooks" rev-parse HEAD)|" >.pre-commit-config.yaml
        git add -A
    }
    cd "$project" && git init -q
    printf "$page" >site/page.html
    printf '  notes\n' >notes.txt # not HTML: no hook sees it
    configure stepwell-check
    pre-commit install >/dev/null
    ! git commit -qm check >"$scratch/out" 2>&1 || fail "stepwell-check let the page through"
    grep -qx 'site/page.html' "$scratch/out" || fail "stepwell-check said: $(cat "$scratch/out")"
    expect site/page.html "$page"
    configure stepwell
    ! git commit -qm replace >"$scratch/out" 2>&1 || fail "stepwell let the page through"
    expect site/page.html "$indented"
    expect notes.txt '  notes\n'
    ;;
zsh | fish)
    # The options of --help, and files after --tags= and --stdin-filename=; each line typed
    # comes out as `wanted` says, one line for each.
    lines=('stepwell --ch' 'stepwell --stdin' 'stepwell --tags=.st' 'stepwell --stdin-filename=.st')
    cd "$project"
    if [ "$tool" = fish ]; then # fish lists the candidates, which take the last word's place
        wanted='--check|--stdin-filename|--tags=.stepwell-tags|--stdin-filename=.stepwell-tags|'
        for line in "${lines[@]}"; do
            fish --no-config -c "source $source/packaging/completion.fish; complete -C '$line'" |
                cut -f1 >>"$scratch/completed"
        done
    else # an interactive zsh on a terminal of its own; a key of the test's own dumps the line
        wanted='stepwell --check |stepwell --stdin-filename=|stepwell --tags=.stepwell-tags |'
        wanted+='stepwell --stdin-filename=.stepwell-tags |'
        mkdir "$scratch/zsh" && cp "$source/packaging/completion.zsh" "$scratch/zsh/_stepwell"
        zsh -f /dev/stdin "$scratch/zsh" "$scratch/completed" "${lines[@]}" <<'ZSH'
zmodload zsh/zpty
folder=$1 out=$2
shift 2
zpty -b completer 'zsh -f -i'
zpty -w completer "fpath=(${(q)folder} \$fpath); autoload -U compinit; compinit -u -D
dump() { print -r -- \"\$BUFFER\" >>${(q)out}; BUFFER=''; }; zle -N dump; bindkey '^O' dump"
for line; do zpty -w -n completer "$line"$'\t\x0f'; done
for _ in {1..100}; do [[ -f $out && $(wc -l <$out) -ge $# ]] && break; sleep 0.1; done
ZSH
    fi
    completed=$(tr '\n' '|' <"$scratch/completed")
    [ "$completed" = "$wanted" ] || fail "$tool completed '$completed', not '$wanted'"
    ;;
*) fail "no test for $tool" ;;
esac
echo "PASS: $tool"
