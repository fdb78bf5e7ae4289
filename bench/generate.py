#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the benchmark inputs: a large HTML file built from the sample pages with random
nesting and messy indentation, and the same markup minified onto very few lines; with
--site, a site of many small pages made the same way, in folders, and their concatenation.

usage: generate.py OUT_DIR [MEGABYTES]
       generate.py --site OUT_DIR [PAGES]
"""
import os
import random
import re
import sys

SAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")
WRAPPERS = [
    ('<div class="wrap-{n}">', "</div>"),
    ('<section id="s{n}">', "</section>"),
    ("<article>", "</article>"),
    ('<aside class="note">', "</aside>"),
    ("<blockquote>", "</blockquote>"),
    ('<table class="layout"><tr><td>', "</td></tr></table>"),
    ("<ul><li>", "</li></ul>"),
    ("<details><summary>More</summary>", "</details>"),
]
DOCUMENT_BYTES = 1 << 20  # one document a minified line


def sample_bodies():
    """The lines between <body> and </body> of every sample page, stripped."""
    bodies = []
    for name in sorted(os.listdir(SAMPLES)):
        if not name.endswith(".html"):
            continue
        with open(os.path.join(SAMPLES, name), encoding="utf-8-sig") as page:
            lines = [line.strip(" \t") for line in page.read().splitlines()]
        text = "\n".join(lines)
        match = re.search(r"<body[^>]*>\n(.*)\n</body>", text, re.S | re.I)
        bodies.append((match.group(1) if match else text).split("\n"))
    return bodies


def messy(rng, line):
    """A line behind the kind of leading blanks hand-edited pages carry."""
    return rng.choice(["", " ", "  ", "    ", "\t", "\t\t", "  \t", " " * rng.randint(0, 24)]) + line


def document(rng, bodies, size):
    head = ["<!doctype html>", "<html lang=\"en\">", "<head>", "<meta charset=\"utf-8\">",
            "<title>Generated page</title>", "<link rel=\"stylesheet\" href=\"/site.css\">",
            "</head>", "<body>"]
    lines = list(head)
    written = sum(len(line) + 1 for line in lines)
    while written < size:
        wrappers = [rng.choice(WRAPPERS) for _ in range(rng.randint(0, 5))]
        block = [opening.format(n=rng.randint(1, 99)) for opening, _ in wrappers]
        block += rng.choice(bodies)
        block += [closing for _, closing in reversed(wrappers)]
        lines += block
        written += sum(len(line) + 1 for line in block)
    lines += ["</body>", "</html>"]
    return lines


def site(out_dir, pages):
    """PAGES small pages under OUT_DIR/site/, 50 to a folder in two levels of folders, sized as
    the pages of a real site are (a few KiB, a few up to 60 KiB; about 6.7 KB on average);
    and OUT_DIR/site.html, all of them one after another."""
    rng = random.Random(7)
    bodies = sample_bodies()
    root = os.path.join(out_dir, "site")
    os.makedirs(root, exist_ok=True)
    with open(os.path.join(out_dir, "site.html"), "w", encoding="utf-8", newline="") as whole:
        for number in range(pages):
            folder = os.path.join(root, f"s{number // 500:02}", f"t{number // 50 % 10}")
            os.makedirs(folder, exist_ok=True)
            size = min(int(rng.lognormvariate(8.2, 0.6)), 60_000)
            lines = document(rng, bodies, size)
            text = "\n".join(messy(rng, line) for line in lines) + "\n"
            with open(os.path.join(folder, f"page{number:05}.html"), "w", encoding="utf-8",
                      newline="") as page:
                page.write(text)
            whole.write(text)
    print(f"wrote {pages} pages in {root} and their concatenation")


def main():
    if sys.argv[1] == "--site":
        site(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 10_000)
        return
    out_dir = sys.argv[1]
    megabytes = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    os.makedirs(out_dir, exist_ok=True)
    rng = random.Random(5)
    bodies = sample_bodies()
    target = megabytes << 20
    ordinary_path = os.path.join(out_dir, "big.html")
    minified_path = os.path.join(out_dir, "big-min.html")
    written = 0
    with open(ordinary_path, "w", encoding="utf-8", newline="") as ordinary, \
            open(minified_path, "w", encoding="utf-8", newline="") as minified:
        while written < target:
            lines = document(rng, bodies, DOCUMENT_BYTES)
            text = "\n".join(messy(rng, line) for line in lines) + "\n"
            ordinary.write(text)
            minified.write("".join(lines) + "\n")
            written += len(text.encode("utf-8"))
    print(f"wrote {ordinary_path} and {minified_path}")


if __name__ == "__main__":
    main()
