# SPDX-License-Identifier: MIT
# Bash completion for stepwell: its options (read from its own --help, so the list follows
# the program) and file names; the file of --tags and --stdin-filename too, nothing for the
# number of --jobs, and only file names after --.
_stepwell() {
    local cur prev words cword split
    _init_completion -s || return

    if [[ $prev == --tags || $prev == --stdin-filename ]]; then
        _filedir
        return
    fi
    if [[ $prev == -j || $prev == --jobs ]]; then
        return # a number of files
    fi
    local i
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} == -- ]]; then
            _filedir
            return
        fi
    done
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '$(_parse_help "$1")' -- "$cur")
        if [[ ${COMPREPLY-} == *= ]]; then
            compopt -o nospace # --tags=TABLE goes on with the table's name
        fi
        return
    fi
    _filedir
}
complete -F _stepwell stepwell
