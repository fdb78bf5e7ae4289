#compdef stepwell
# SPDX-License-Identifier: MIT
# Zsh completion for stepwell: its options and what each does, read from its own --help (so
# the list follows the program), and file names; --tags and --stdin-filename take a file.
_arguments -S -- '*=TABLE*:tag table:_files' '*=PATH*:file name:_files' '*:file:_files'
