#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Chooses the elements of the shipped tag table by measuring, not by taste.

    bench/corpus/choose_entries.py STEPWELL [CORPUS] [--pages-per-package N]

Starting from the elements of the table that shipped before less those whose end tag HTML
lets authors omit, it adds or takes out one
element at a time (its opening tag at +1 and its closing tag at -1), and raw blocks for
<script> and <style>, keeping the change that raises the median share of counted lines
reproduced the most (the mean decides ties) while at most 3 % of pages drift; it stops when
no change helps. It measures on a sample of the corpus (at most N indented pages a package)
with bench/corpus/measure.py's rules, and prints each step and the table it ends with.
"""

import argparse
import os
import re
import statistics
import sys
import tempfile

import measure

# Elements whose opening and closing tags may move the level.
ELEMENTS = """HTML HEAD BODY HEADER FOOTER MAIN NAV SECTION ARTICLE ASIDE ADDRESS DIV CENTER
BLOCKQUOTE FIGURE DETAILS DIALOG PICTURE UL OL LI DL DT DD TABLE CAPTION COLGROUP THEAD TBODY
TFOOT TR TH TD FORM FIELDSET LABEL SELECT OPTGROUP OPTION VIDEO AUDIO SVG G P SPAN A BUTTON
NOSCRIPT IFRAME OBJECT MAP MENU H1 H2 H3 H4 H5 H6 TEMPLATE SUMMARY FIGCAPTION LEGEND SCRIPT
STYLE""".split()
START = """HEADER MAIN NAV SECTION ARTICLE ASIDE FOOTER ADDRESS DIV CENTER BLOCKQUOTE FIGURE
DETAILS DIALOG PICTURE UL OL DL TABLE FORM FIELDSET LABEL SELECT VIDEO AUDIO SVG G SCRIPT
STYLE""".split()
RAW = ["<!--,raw:-->", "<PRE,raw:</PRE>", "<TEXTAREA,raw:</TEXTAREA>"]
RAW_CHOICES = {"SCRIPT": "<SCRIPT,raw:</SCRIPT>", "STYLE": "<STYLE,raw:</STYLE>"}
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def element_names():
    """The element names the learner knows, from engine/core/element_names.cpp."""
    with open(os.path.join(SOURCE, "engine", "core", "element_names.cpp")) as file:
        return re.findall(r'"([A-Z0-9]+)"', file.read())


def guards(tag, names, taken):
    """Zero entries that keep `tag` (`<E` or `</E`) from counting longer element names: the
    tag and the next letter of each such name (`<LIN` and `<LIS` for `<LI`)."""
    start = "</" if tag.startswith("</") else "<"
    element = tag[len(start):]
    found = set()
    for name in names:
        if name != element and name.startswith(element) and start + name not in taken:
            found.add(start + name[:len(element) + 1])
    return found - taken


def table_text(elements, raw_elements, names):
    """The tag file: raw blocks, openings and zero entries (a longer tag before a shorter one
    it starts with), then closings and theirs."""
    raw = RAW + [RAW_CHOICES[e] for e in sorted(raw_elements)]
    openings = {f"<{e}": "1" for e in elements}
    # A closing tag that longer names start with carries its '>' (`</P>`, not `</PATH`).
    closings = {f"</{e}>" if guards(f"</{e}", names, set()) else f"</{e}": "-1"
                for e in elements}
    for tag in list(openings):
        for guard in guards(tag, names, set(openings)):
            openings[guard] = "0"
    lines = raw + [f"{t},{openings[t]}" for t in sorted(openings, reverse=True)]
    lines += [f"{t},{closings[t]}" for t in sorted(closings, reverse=True)]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("stepwell")
    parser.add_argument("corpus", nargs="?", default="build-corpus/root")
    parser.add_argument("--pages-per-package", type=int, default=20)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--most-drifting", type=float, default=0.03)
    args = parser.parse_args()

    names = element_names()
    pages = []
    for package, paths in measure.find_pages(args.corpus).items():
        taken = 0
        for path in paths:
            page = measure.Page(package, path, args.corpus)
            if page.indented and taken < args.pages_per_package:
                pages.append(page)
                taken += 1
    print(f"sample: {len(pages)} indented pages")

    def judge(elements, raw_elements):
        with tempfile.NamedTemporaryFile("w", suffix=".tags") as table:
            table.write(table_text(elements, raw_elements, names))
            table.flush()
            shares, drifting, _, _ = measure.measure_table(args.stepwell, table.name, pages,
                                                           args.jobs)
        return (statistics.median(shares), statistics.mean(shares),
                len(drifting) / len(shares))

    elements = set(START)
    raw_elements = set()
    best = judge(elements, raw_elements)
    print(f"start: median {best[0]:.3f}, mean {best[1]:.3f}, drifting {best[2]:.3f}")
    while True:
        choice = None
        for element in ELEMENTS:
            tried = elements ^ {element}
            result = judge(tried, raw_elements - {element})
            if result[2] <= args.most_drifting and (result[:2] > best[:2] or best[2] > args.most_drifting):
                if choice is None or result[:2] > choice[0][:2]:
                    choice = (result, tried, raw_elements, element)
        for element in RAW_CHOICES:
            tried_raw = raw_elements ^ {element}
            tried = elements - {element} if element in tried_raw else elements
            result = judge(tried, tried_raw)
            if result[2] <= args.most_drifting and (result[:2] > best[:2] or best[2] > args.most_drifting):
                if choice is None or result[:2] > choice[0][:2]:
                    choice = (result, tried, tried_raw, "raw " + element)
        if choice is None:
            break
        best, elements, raw_elements, what = choice
        print(f"toggle {what}: median {best[0]:.3f}, mean {best[1]:.3f}, drifting {best[2]:.3f}",
              flush=True)
    print(table_text(elements, raw_elements, names), end="")
    return 0


if __name__ == "__main__":
    sys.exit(main())
