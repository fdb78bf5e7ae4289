#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the recipes of doc/guide.md's "Editors, pre-commit and CI", taken from the guide as
# written, with the real tools, on a project that has a tag table of its own and is not the
# folder the tool starts in.
# Usage: recipes.sh vim|emacs|pre-commit|ci PROGRAM SOURCE_DIR
# A missing tool skips the test (status 77) on a developer's machine, saying so; when CI is
# set it fails the test, since CI installs every tool the Makefile lists (make deps).
set -euo pipefail
what=$1 program=$2 source=$3
guide=$source/doc/guide.md

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
need() {
    command -v "$1" >/dev/null && return
    [ -z "${CI:-}" ] || fail "$1 is not installed (make deps installs it)"
    echo "SKIP: $1 is not installed (make deps installs it)"
    exit 77
}
# The first block of the guide fenced as language $1 whose text holds $2.
recipe() {
    awk -v fence='```'"$1" -v word="$2" '
        !inside && $0 == fence { inside = 1; text = ""; next }
        inside && $0 == "```" { inside = 0; if (index(text, word)) { printf "%s", text; exit } }
        inside { text = text $0 "\n" }' "$guide"
}
# Expects file $1 to hold exactly the text $2 (printf escapes).
expect() {
    printf "$2" | cmp -s - "$1" || fail "$1 holds $(od -c "$1" | head -5)"
}

# The program on the search path, and a home of the test's own, so that no user's settings
# take part.
mkdir -p "$scratch/bin" "$scratch/home"
ln -s "$program" "$scratch/bin/stepwell"
export PATH=$scratch/bin:$PATH HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
unset STEPWELL_TAGS
# The project's table indents by <x>, which no other table knows.
project=$scratch/project
mkdir -p "$project/site"
printf '<X,1\n</X,-1\n' >"$project/.stepwell-tags"
page='<x>\n      日本語\n  <x>\n y\n</x>\n  </x>\n'
indented='<x>\n\t日本語\n\t<x>\n\t\ty\n\t</x>\n</x>\n'
cd "$scratch"

case $what in
vim)
    need vim
    mkdir -p "$HOME/.vim/after/ftplugin"
    recipe vim equalprg >"$HOME/.vim/after/ftplugin/html.vim"
    [ -s "$HOME/.vim/after/ftplugin/html.vim" ] || fail "no vim recipe in $guide"
    echo 'filetype plugin on' >"$HOME/.vimrc"
    # = and gq, on a name that the shell would split.
    for keys in gg=G gggqG; do
        printf "$page" >"$project/site/my page.html"
        vim -es -N -u "$HOME/.vimrc" -i NONE -c "normal $keys" -c wq "project/site/my page.html" ||
            fail "vim $keys failed"
        expect "$project/site/my page.html" "$indented"
    done
    ;;
emacs)
    need emacs
    recipe elisp stepwell-buffer >stepwell.el
    [ -s stepwell.el ] || fail "no emacs recipe in $guide"
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
    case $errors in
    "stepwell: $project/site/page.html, line 1: "*"not a number") ;;
    *) fail "emacs: the error says: $errors" ;;
    esac
    expect "$project/site/page.html" "$page"
    ;;
pre-commit)
    need pre-commit
    export GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@example.org
    export GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@example.org
    export PRE_COMMIT_HOME=$scratch/cache
    # The hooks' repository: this one's hook file in a repository of its own.
    git init -q hooks
    cp "$source/.pre-commit-hooks.yaml" hooks/
    git -C hooks add . && git -C hooks commit -qm hooks
    rev=$(git -C hooks rev-parse HEAD)
    # The guide's configuration, taking the hooks from there.
    configure() {
        recipe yaml 'repos:' | sed -e "s|^\( *- repo:\).*|\1 $scratch/hooks|" \
            -e "s|^\( *rev:\).*|\1 $rev|" -e "s|^\( *- id:\).*|\1 $1|" >.pre-commit-config.yaml
        git add -A
    }
    cd "$project"
    git init -q
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
    configure stepwell-check
    git commit -qm indented >"$scratch/out" 2>&1 || fail "the indented page: $(cat "$scratch/out")"
    ;;
ci)
    need python3
    recipe yaml 'runs-on:' >workflow.yml
    recipe json 'tasks' >tasks.json
    mkdir -p "$project/site/deeper"
    printf '<x>\n\ty\n</x>\n' >"$project/site/right.html"
    printf "$page" >"$project/site/deeper/page.html"
    # The workflow's check step, run in the project; then the editor's task on its page.
    python3 - "$project" <<'PY' || fail "the CI examples of the guide do not work"
import json, subprocess, sys, yaml
project = sys.argv[1]
steps = yaml.safe_load(open("workflow.yml"))["jobs"]["stepwell"]["steps"]
check = [step["run"] for step in steps if "stepwell --check" in step.get("run", "")]
assert len(check) == 1, steps
run = subprocess.run(check[0], shell=True, cwd=project, capture_output=True, text=True)
assert (run.returncode, run.stdout) == (1, "site/deeper/page.html\n"), run
task = json.load(open("tasks.json"))["tasks"][0]
args = [arg.replace("${file}", project + "/site/deeper/page.html") for arg in task["args"]]
assert subprocess.run([task["command"]] + args).returncode == 0
run = subprocess.run(check[0], shell=True, cwd=project, capture_output=True, text=True)
assert (run.returncode, run.stdout) == (0, ""), run
PY
    ;;
*) fail "unknown recipe $what" ;;
esac
echo "PASS: $what"
